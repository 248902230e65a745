// What "Rechercher tout" found: the offset of every occurrence up to a cap, and
// the count of all of them. Overlapping occurrences count: "AA" occurs three
// times in "AAAA" (find next, which goes on after each match, visits two).
#pragma once

#include "storage/ByteString.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CPieceFile64;

struct CFindAllResults {
    // Beyond this many, offsets are no longer kept (8 bytes each); the count goes on.
    static constexpr std::size_t kMaxListed = 1000000;

    CByteString m_pattern;
    bool m_bMatchCase = false;
    std::int64_t m_nStart = 0; // the range searched
    std::int64_t m_nEnd = 0;
    bool m_bInSelection = false; // the range was the selection, not the whole file
    std::vector<std::int64_t> m_offsets;
    std::int64_t m_nCount = 0;
    bool m_bComplete = true; // false when the search was cancelled

    void Add(std::int64_t offset) {
        ++m_nCount;
        if (m_offsets.size() < kMaxListed)
            m_offsets.push_back(offset);
    }
    bool IsTruncated() const { return m_nCount > static_cast<std::int64_t>(m_offsets.size()); }
};

// Searches [start, end) of the edited content for every occurrence. onBlock
// gets the offset reached and the count so far after each block and returns
// true to cancel: the results so far are kept, marked incomplete. A file
// error propagates.
using FindAllProgress = std::function<bool(std::int64_t reached, std::int64_t found)>;
CFindAllResults FindAllOccurrences(const CPieceFile64& file, const CByteString& pattern,
                                   bool matchCase, std::int64_t start, std::int64_t end,
                                   const FindAllProgress& onBlock);

// An offset as the view shows addresses: "0x" and upper-case hex, or decimal.
std::string FormatResultOffset(std::int64_t offset, bool hexAddress);

// A few bytes either side of an occurrence.
inline constexpr int kContextBytes = 4;
// At most this many bytes of the occurrence itself are shown.
inline constexpr int kShownMatchBytes = 16;

// One line of the list: the offset, then the bytes read around the occurrence
// in hex (the occurrence between brackets) and as characters. `bytes` start
// `before` bytes ahead of the occurrence, which is `matchLength` long (cut to
// what was read). charSet 1 shows the characters through the EBCDIC table.
std::string FormatResultRow(std::int64_t offset, bool hexAddress, const std::uint8_t* bytes,
                            int count, int before, int matchLength, int charSet);
