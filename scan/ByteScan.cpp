#include "scan/ByteScan.h"

#include <array>

#include "common/Cp1252.h"

namespace tarnwick::bytescan {
namespace {

using Table = std::array<unsigned char, 256>;

const Table& LowerTable() {
    static const Table table = [] {
        Table t{};
        for (int c = 0; c < 256; ++c) {
            t[c] = Cp1252ToLower(static_cast<unsigned char>(c));
        }
        return t;
    }();
    return table;
}

void LowerByTable(unsigned char* dst, const unsigned char* src, std::size_t n) {
    const Table& t = LowerTable();
    for (std::size_t i = 0; i < n; ++i) {
        dst[i] = t[src[i]];
    }
}

#if defined(__SSE2__)

// Bytes x with lo <= x < lo + count (unsigned), as a mask of 0xFF bytes.
inline __m128i InRange(__m128i x, unsigned char lo, unsigned char count) {
    const __m128i t = _mm_sub_epi8(x, _mm_set1_epi8(static_cast<char>(lo)));
    return _mm_cmpeq_epi8(_mm_min_epu8(t, _mm_set1_epi8(static_cast<char>(count - 1))), t);
}

inline __m128i Equals(__m128i x, unsigned char c) {
    return _mm_cmpeq_epi8(x, _mm_set1_epi8(static_cast<char>(c)));
}

// The code page's capitals: A-Z and 0xC0-0xDE but 0xD7 (+0x20), S caron, OE
// and Z caron (+0x10), Y diaeresis (0x9F -> 0xFF).
inline __m128i LowerBlock(__m128i x) {
    const __m128i ascii = _mm_and_si128(InRange(x, 'A', 26), _mm_set1_epi8(0x20));
    if (_mm_movemask_epi8(x) == 0) {
        return _mm_add_epi8(x, ascii);
    }
    const __m128i latin = _mm_andnot_si128(Equals(x, 0xD7), InRange(x, 0xC0, 0x1F));
    const __m128i odd =
        _mm_and_si128(_mm_sub_epi8(x, _mm_set1_epi8(static_cast<char>(0x8A))), _mm_set1_epi8(1));
    const __m128i caron =
        _mm_and_si128(InRange(x, 0x8A, 5), _mm_cmpeq_epi8(odd, _mm_setzero_si128()));
    __m128i add = _mm_or_si128(ascii, _mm_and_si128(latin, _mm_set1_epi8(0x20)));
    add = _mm_or_si128(add, _mm_and_si128(caron, _mm_set1_epi8(0x10)));
    add = _mm_or_si128(add, _mm_and_si128(Equals(x, 0x9F), _mm_set1_epi8(0x60)));
    return _mm_add_epi8(x, add);
}

void LowerByBlocks(unsigned char* dst, const unsigned char* src, std::size_t n) {
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), LowerBlock(x));
    }
    LowerByTable(dst + i, src + i, n - i);
}

// The block rules stand in for Cp1252ToLower only while they agree with it on
// every byte; otherwise the table does all the work.
bool BlocksAgreeWithTable() {
    static const bool agree = [] {
        std::array<unsigned char, 256> all{};
        std::array<unsigned char, 256> lowered{};
        for (int c = 0; c < 256; ++c) {
            all[c] = static_cast<unsigned char>(c);
        }
        LowerByBlocks(lowered.data(), all.data(), all.size());
        return lowered == LowerTable();
    }();
    return agree;
}

#endif

}  // namespace

void LowerCp1252(unsigned char* dst, const unsigned char* src, std::size_t n) {
#if defined(__SSE2__)
    if (BlocksAgreeWithTable()) {
        LowerByBlocks(dst, src, n);
        return;
    }
#endif
    LowerByTable(dst, src, n);
}

}  // namespace tarnwick::bytescan
