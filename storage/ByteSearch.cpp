#include "storage/ByteSearch.h"

#include <bit>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define QUEXO_SEARCH_SSE2 1
#endif

namespace {

#if QUEXO_SEARCH_SSE2
// Candidates are the offsets whose first and last bytes both match the
// pattern's: 16 offsets are tested per step, and only those are compared whole.
struct CCandidates {
    CCandidates(std::uint8_t first, std::uint8_t last, size_t lastOffset)
        : m_first(_mm_set1_epi8(static_cast<char>(first))),
          m_last(_mm_set1_epi8(static_cast<char>(last))), m_lastOffset(lastOffset) {}

    static __m128i FoldVector(__m128i v) {
        // Signed compares: bytes 0x80 and up are negative, so never letters.
        const __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(v, _mm_set1_epi8('A' - 1)),
                                            _mm_cmplt_epi8(v, _mm_set1_epi8('Z' + 1)));
        return _mm_or_si128(v, _mm_and_si128(upper, _mm_set1_epi8(0x20)));
    }

    // Bit k set: data[k] and data[k + lastOffset] match the pattern's ends.
    template <bool Fold> unsigned At(const std::uint8_t* data) const {
        __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data));
        __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + m_lastOffset));
        if constexpr (Fold) {
            a = FoldVector(a);
            b = FoldVector(b);
        }
        const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(a, m_first), _mm_cmpeq_epi8(b, m_last));
        return static_cast<unsigned>(_mm_movemask_epi8(both));
    }

    // Bits k and 16 + k: the same for 32 offsets.
    template <bool Fold> unsigned At32(const std::uint8_t* data) const {
        return At<Fold>(data) | (At<Fold>(data + 16) << 16);
    }

    __m128i m_first;
    __m128i m_last;
    size_t m_lastOffset;
};
#endif

} // namespace

CByteSearch::CByteSearch(const std::string& pattern, bool matchCase)
    : m_pattern(pattern), m_bMatchCase(matchCase) {
    if (!matchCase)
        for (char& c : m_pattern)
            c = static_cast<char>(Fold(static_cast<std::uint8_t>(c)));
}

bool CByteSearch::MatchesAt(const std::uint8_t* data) const {
    const auto* pattern = reinterpret_cast<const std::uint8_t*>(m_pattern.data());
    const size_t len = m_pattern.size();
    if (m_bMatchCase)
        return std::memcmp(data, pattern, len) == 0;
    for (size_t k = 0; k < len; ++k)
        if (Fold(data[k]) != pattern[k])
            return false;
    return true;
}

size_t CByteSearch::FindFirst(const std::uint8_t* data, size_t size) const {
#if QUEXO_SEARCH_SSE2
    return m_bMatchCase ? FindFirstWith<false>(data, size) : FindFirstWith<true>(data, size);
#else
    return FindFirstWith<false>(data, size);
#endif
}

size_t CByteSearch::FindLast(const std::uint8_t* data, size_t size) const {
#if QUEXO_SEARCH_SSE2
    return m_bMatchCase ? FindLastWith<false>(data, size) : FindLastWith<true>(data, size);
#else
    return FindLastWith<false>(data, size);
#endif
}

template <bool Fold>
size_t CByteSearch::FindFirstWith(const std::uint8_t* data, size_t size) const {
    const size_t len = m_pattern.size();
    if (size < len)
        return npos;
    const size_t starts = size - len + 1; // offsets a match may begin at
    size_t i = 0;
#if QUEXO_SEARCH_SSE2
    const auto* pattern = reinterpret_cast<const std::uint8_t*>(m_pattern.data());
    const CCandidates candidates(pattern[0], pattern[len - 1], len - 1);
    for (; i + 32 <= starts; i += 32) {
        for (unsigned mask = candidates.At32<Fold>(data + i); mask != 0; mask &= mask - 1) {
            const size_t at = i + static_cast<size_t>(std::countr_zero(mask));
            if (MatchesAt(data + at))
                return at;
        }
    }
    for (; i + 16 <= starts; i += 16) {
        for (unsigned mask = candidates.At<Fold>(data + i); mask != 0; mask &= mask - 1) {
            const size_t at = i + static_cast<size_t>(std::countr_zero(mask));
            if (MatchesAt(data + at))
                return at;
        }
    }
#endif
    if (m_bMatchCase) {
        const auto first = static_cast<unsigned char>(m_pattern[0]);
        while (i < starts) {
            const void* hit = std::memchr(data + i, first, starts - i);
            if (!hit)
                return npos;
            const auto at = static_cast<size_t>(static_cast<const std::uint8_t*>(hit) - data);
            if (MatchesAt(data + at))
                return at;
            i = at + 1;
        }
        return npos;
    }
    for (; i < starts; ++i)
        if (MatchesAt(data + i))
            return i;
    return npos;
}

template <bool Fold> size_t CByteSearch::FindLastWith(const std::uint8_t* data, size_t size) const {
    const size_t len = m_pattern.size();
    if (size < len)
        return npos;
    size_t end = size - len + 1; // offsets below `end` are still to be tried
#if QUEXO_SEARCH_SSE2
    const auto* pattern = reinterpret_cast<const std::uint8_t*>(m_pattern.data());
    const CCandidates candidates(pattern[0], pattern[len - 1], len - 1);
    for (; end >= 32; end -= 32) {
        const size_t i = end - 32;
        for (unsigned mask = candidates.At32<Fold>(data + i); mask != 0;) {
            const int bit = 31 - std::countl_zero(mask);
            if (MatchesAt(data + i + static_cast<size_t>(bit)))
                return i + static_cast<size_t>(bit);
            mask &= ~(1u << bit);
        }
    }
    for (; end >= 16; end -= 16) {
        const size_t i = end - 16;
        for (unsigned mask = candidates.At<Fold>(data + i); mask != 0;) {
            const int bit = 31 - std::countl_zero(mask);
            if (MatchesAt(data + i + static_cast<size_t>(bit)))
                return i + static_cast<size_t>(bit);
            mask &= ~(1u << bit);
        }
    }
#endif
    while (end > 0) {
        --end;
        if (MatchesAt(data + end))
            return end;
    }
    return npos;
}
