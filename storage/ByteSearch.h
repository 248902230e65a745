// Searching a block of bytes for a pattern, exactly or with ASCII letter case
// folded (A-Z equal to a-z; no other byte is folded).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CByteSearch {
public:
    static constexpr size_t npos = static_cast<size_t>(-1);

    // `pattern` must not be empty.
    CByteSearch(const std::string& pattern, bool matchCase);

    size_t Length() const { return m_pattern.size(); }
    // Offset of the first / last match lying wholly inside data[0, size), or npos.
    size_t FindFirst(const std::uint8_t* data, size_t size) const;
    size_t FindLast(const std::uint8_t* data, size_t size) const;

    static std::uint8_t Fold(std::uint8_t byte) {
        return byte >= 'A' && byte <= 'Z' ? static_cast<std::uint8_t>(byte | 0x20) : byte;
    }

private:
    bool MatchesAt(const std::uint8_t* data) const;
    // Fold: whether the data is folded before the candidate test.
    template <bool Fold> size_t FindFirstWith(const std::uint8_t* data, size_t size) const;
    template <bool Fold> size_t FindLastWith(const std::uint8_t* data, size_t size) const;

    std::string m_pattern; // folded when case is ignored
    bool m_bMatchCase;
};
