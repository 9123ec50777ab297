#include "scan/ByteScan.h"

#include <array>
#include <initializer_list>
#include <utility>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#endif

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

inline unsigned char Folded(unsigned char c) {
    return static_cast<unsigned char>(c | 0x20);
}

bool IsMarkupCandidate(const unsigned char* s, std::size_t i, unsigned char first,
                       std::size_t lastOffset, unsigned char last, bool highBytes) {
    const unsigned char c = s[i];
    const unsigned char y = Folded(s[i + 1]);
    const unsigned char z = Folded(s[i + 2]);
    if (c == '<' && (y == '!' || y == '?' || (y == 'm' && z == 'e') ||
                     (y == 's' && (z == 'c' || z == 't')) || (y == '/' && z == 'h'))) {
        return true;
    }
    return (c == '&' && s[i + 1] == '#') || c == 0 || (highBytes && c >= 0x80) ||
           (Folded(c) == first && Folded(s[i + lastOffset]) == last);
}

std::size_t NextCandidateByBytes(const unsigned char* s, std::size_t from, std::size_t to,
                                 unsigned char first, std::size_t lastOffset, unsigned char last,
                                 bool highBytes) {
    for (std::size_t i = from; i < to; ++i) {
        if (IsMarkupCandidate(s, i, first, lastOffset, last, highBytes)) {
            return i;
        }
    }
    return to;
}

#if defined(__x86_64__) || defined(__i386__)

__attribute__((target("avx2"))) inline __m256i Load32(const unsigned char* s) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s));
}

__attribute__((target("avx2"))) inline __m256i Set32(unsigned char c) {
    return _mm256_set1_epi8(static_cast<char>(c));
}

// Which of the three-byte patterns of NextMarkupCandidate a byte may take
// part in, looked up by its low and its high half (a set the two halves
// cannot tell apart lets more through; the caller checks).
struct NibbleTables {
    alignas(32) unsigned char low[32];
    alignas(32) unsigned char high[32];
};

// Bits: 0 "<!", 1 "<?", 2 "<me", 3 "<sc"/"<st", 4 "</h", 5 "&#", 6 zero byte.
NibbleTables Tables(std::initializer_list<std::pair<unsigned char, unsigned char>> bytes,
                    unsigned char any) {
    NibbleTables t{};
    for (int k = 0; k < 32; ++k) {
        t.low[k] = any;
        t.high[k] = any;
    }
    for (const auto& [byte, bits] : bytes) {
        for (int lane = 0; lane < 32; lane += 16) {
            t.low[lane + (byte & 0x0F)] |= bits;
            t.high[lane + (byte >> 4)] |= bits;
        }
    }
    return t;
}

const NibbleTables& FirstTables() {  // the byte itself
    static const NibbleTables t = Tables({{'<', 0x1F}, {'&', 0x20}, {0, 0x40}}, 0);
    return t;
}
const NibbleTables& SecondTables() {  // the next byte, with 0x20 set
    static const NibbleTables t = Tables(
        {{'!', 0x01}, {'?', 0x02}, {'m', 0x04}, {'s', 0x08}, {'/', 0x10}, {'#', 0x20}}, 0x40);
    return t;
}
const NibbleTables& ThirdTables() {  // the byte after, with 0x20 set
    static const NibbleTables t =
        Tables({{'e', 0x04}, {'c', 0x08}, {'t', 0x08}, {'h', 0x10}}, 0x63);
    return t;
}

__attribute__((target("avx2"))) inline __m256i Classify32(__m256i x, const NibbleTables& t) {
    const __m256i nibble = Set32(0x0F);
    const __m256i low = _mm256_shuffle_epi8(
        _mm256_load_si256(reinterpret_cast<const __m256i*>(t.low)), _mm256_and_si256(x, nibble));
    const __m256i high =
        _mm256_shuffle_epi8(_mm256_load_si256(reinterpret_cast<const __m256i*>(t.high)),
                            _mm256_and_si256(_mm256_srli_epi16(x, 4), nibble));
    return _mm256_and_si256(low, high);
}

// Thirty-two positions at a time; the tail goes byte by byte.
__attribute__((target("avx2"))) std::size_t NextCandidateAvx2(const unsigned char* s,
                                                              std::size_t from, std::size_t to,
                                                              unsigned char first,
                                                              std::size_t lastOffset,
                                                              unsigned char last, bool highBytes) {
    const NibbleTables& t0 = FirstTables();
    const NibbleTables& t1 = SecondTables();
    const NibbleTables& t2 = ThirdTables();
    const __m256i bit = Set32(0x20);
    const __m256i zero = _mm256_setzero_si256();
    const __m256i vFirst = Set32(first);
    const __m256i vLast = Set32(last);
    std::size_t i = from;
    for (; i + 32 <= to; i += 32) {
        const __m256i x = Load32(s + i);
        const __m256i y = _mm256_or_si256(Load32(s + i + 1), bit);
        const __m256i z = _mm256_or_si256(Load32(s + i + 2), bit);
        const __m256i patterns = _mm256_and_si256(
            Classify32(x, t0), _mm256_and_si256(Classify32(y, t1), Classify32(z, t2)));
        const __m256i address = _mm256_and_si256(
            _mm256_cmpeq_epi8(_mm256_or_si256(x, bit), vFirst),
            _mm256_cmpeq_epi8(_mm256_or_si256(Load32(s + i + lastOffset), bit), vLast));
        unsigned mask =
            ~static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(patterns, zero))) |
            static_cast<unsigned>(_mm256_movemask_epi8(address));
        if (highBytes) {
            mask |= static_cast<unsigned>(_mm256_movemask_epi8(x));
        }
        if (mask != 0) {
            return i + static_cast<std::size_t>(__builtin_ctz(mask));
        }
    }
    return NextCandidateByBytes(s, i, to, first, lastOffset, last, highBytes);
}

bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

#endif

}  // namespace

std::size_t NextMarkupCandidate(const unsigned char* s, std::size_t from, std::size_t to,
                                unsigned char first, std::size_t lastOffset, unsigned char last,
                                bool highBytes) {
#if defined(__x86_64__) || defined(__i386__)
    if (HasAvx2()) {
        return NextCandidateAvx2(s, from, to, first, lastOffset, last, highBytes);
    }
#endif
    return NextCandidateByBytes(s, from, to, first, lastOffset, last, highBytes);
}

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
