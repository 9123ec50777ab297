// Byte-level building blocks of the link classifier: lowering Windows-1252
// text and finding candidate positions by two bytes at a fixed distance, both
// sixteen bytes at a time where the processor allows.
#pragma once

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tarnwick::bytescan {

// Writes the lowered form of src[0, n) to dst (which may be src): A-Z and the
// code page's other capitals become small letters, as Cp1252ToLower does.
void LowerCp1252(unsigned char* dst, const unsigned char* src, std::size_t n);

// The first i in [from, to) where s[i] may start markup that an HTML parser
// reads as more than plain tags and text, or an occurrence of a word; to
// when there is none. A candidate is any of (ASCII letter case ignored):
//   - first at i and last at i + lastOffset (the caller compares the rest);
//   - "<!", "<?", "<me", "<sc", "<st", "</h", "&#", a zero byte;
//   - with highBytes, a byte of 0x80 or more.
// Candidates are a superset: callers check each. first and last are compared
// with bit 0x20 set, so give them lowered. s[i + max(2, lastOffset)] must be
// readable for every i < to.
std::size_t NextMarkupCandidate(const unsigned char* s, std::size_t from, std::size_t to,
                                unsigned char first, std::size_t lastOffset, unsigned char last,
                                bool highBytes);

// Calls onHit(i) for every i in [from, to), in increasing order, with
// s[i] == c0 and s[i + offset] == c1, until onHit returns true. Returns true
// when onHit did. s[i + offset] must be readable for every i < to.
template <class OnHit>
bool FindPairs(const unsigned char* s, std::size_t from, std::size_t to, unsigned char c0,
               std::size_t offset, unsigned char c1, OnHit&& onHit) {
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i v0 = _mm_set1_epi8(static_cast<char>(c0));
    const __m128i v1 = _mm_set1_epi8(static_cast<char>(c1));
    const auto load = [s](std::size_t at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + at));
    };
    for (; i + 32 <= to; i += 32) {
        const __m128i lo =
            _mm_and_si128(_mm_cmpeq_epi8(load(i), v0), _mm_cmpeq_epi8(load(i + offset), v1));
        const __m128i hi = _mm_and_si128(_mm_cmpeq_epi8(load(i + 16), v0),
                                         _mm_cmpeq_epi8(load(i + 16 + offset), v1));
        if (_mm_movemask_epi8(_mm_or_si128(lo, hi)) == 0) {
            continue;
        }
        unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(lo)) |
                        (static_cast<unsigned>(_mm_movemask_epi8(hi)) << 16);
        while (mask != 0) {
            if (onHit(i + static_cast<std::size_t>(__builtin_ctz(mask)))) {
                return true;
            }
            mask &= mask - 1;
        }
    }
#endif
    for (; i < to; ++i) {
        if (s[i] == c0 && s[i + offset] == c1 && onHit(i)) {
            return true;
        }
    }
    return false;
}

}  // namespace tarnwick::bytescan
