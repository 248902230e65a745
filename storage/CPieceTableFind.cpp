// Searching the edited content. Reads are positional and see every edit.
#include "storage/ByteSearch.h"
#include "storage/CPieceTable.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

namespace {
// A search reads blocks that start small and double up to kBlockSize, so a
// match close to the start (replace all finds one every few hundred bytes)
// costs a small read, and a long scan still reads large blocks. The cancel
// check runs once per block after the first going down, and once every
// kUpCheckEvery candidate positions going up.
constexpr size_t kFirstBlock = 1024;
constexpr size_t kBlockSize = 65536;
constexpr std::int64_t kUpCheckEvery = 1024;

// A block must hold a pattern twice over, or a long one could never be found.
size_t BlockSizeFor(size_t patternLength) {
    return std::max(kBlockSize, 2 * patternLength);
}

size_t FirstBlockFor(size_t patternLength) {
    return std::max(kFirstBlock, 2 * patternLength);
}

// A block buffer left uninitialised: FindAll reads a whole range once.
class Buffer {
public:
    explicit Buffer(size_t size) : m_data(new std::uint8_t[size]) {}
    std::uint8_t* data() const { return m_data.get(); }

private:
    std::unique_ptr<std::uint8_t[]> m_data;
};
} // namespace

std::uint8_t* CPieceTable::FindBuffer(size_t size) const {
    if (m_nFindBufferSize < size) {
        // Uninitialised: zeroing it would cost more than many searches.
        m_findBuffer.reset(new std::uint8_t[size]);
        m_nFindBufferSize = size;
    }
    return m_findBuffer.get();
}

std::int64_t CPieceTable::ReadForFind(std::int64_t offset, std::uint8_t* buffer,
                                      std::int64_t count) const {
    const std::int64_t got = ReadAt(offset, buffer, count);
    // Reading stops short of the end when another program shortened the file:
    // that is an error, not the end of the search.
    if (got < count && offset + got < m_list.m_nLength)
        Raise(CFileException::endOfFile);
    return got;
}

std::int64_t CPieceTable::Find(const CByteString& pattern, int matchCase, int down,
                               std::int64_t start, std::int64_t limit) const {
    if (pattern.empty())
        return start;
    return down ? FindDown(pattern, matchCase != 0, start, limit)
                : FindUp(pattern, matchCase != 0, start);
}

std::int64_t CPieceTable::FindDown(const CByteString& pattern, bool matchCase, std::int64_t start,
                                   std::int64_t limit) const {
    if (start < 0 || start > m_list.m_nLength)
        return -1; // nothing starts outside the content
    const CByteSearch search(pattern, matchCase);
    const size_t len = pattern.size();
    const std::int64_t effectiveLimit = limit == -1 ? INT64_MAX : limit;
    const size_t maxBlock = BlockSizeFor(len);
    size_t blockSize = FirstBlockFor(len);
    std::uint8_t* const buffer = FindBuffer(maxBlock);

    auto n = static_cast<size_t>(ReadForFind(start, buffer, static_cast<std::int64_t>(blockSize)));
    if (n < len)
        return -1;
    // Each next block starts with the last `len` bytes of the one before, so a
    // match across the seam is seen whole.
    std::int64_t base = 0; // distance from start to buffer[0]
    for (;;) {
        if (start + base >= effectiveLimit)
            return -1;
        const size_t at = search.FindFirst(buffer, n);
        if (at != CByteSearch::npos) {
            const std::int64_t found = start + base + static_cast<std::int64_t>(at);
            return found + static_cast<std::int64_t>(len) <= effectiveLimit ? found : -1;
        }
        if (n <= len)
            return -1; // the end of the content
        std::memmove(buffer, buffer + n - len, len);
        base += static_cast<std::int64_t>(n - len);
        blockSize = std::min(2 * blockSize, maxBlock);
        const std::int64_t from = start + base + static_cast<std::int64_t>(len);
        n = len + static_cast<size_t>(
                      ReadForFind(from, buffer + len, static_cast<std::int64_t>(blockSize - len)));
        if (Cancelled(start + base + static_cast<std::int64_t>(n)))
            return -1;
    }
}

std::int64_t CPieceTable::FindUp(const CByteString& pattern, bool matchCase,
                                 std::int64_t start) const {
    const CByteSearch search(pattern, matchCase);
    const auto len = static_cast<std::int64_t>(pattern.size());
    const std::int64_t length = m_list.m_nLength;
    if (start <= 0)
        return -1; // no match starts before the first byte
    // p is the last byte of the next candidate match: first the one starting
    // just before start, never one running past the end.
    start = std::min(start, length);
    std::int64_t p = std::min(start + len - 2, length - 1);
    const auto maxBlock = static_cast<std::int64_t>(BlockSizeFor(pattern.size()));
    auto blockSize = static_cast<std::int64_t>(FirstBlockFor(pattern.size()));
    std::uint8_t* const buffer = FindBuffer(static_cast<size_t>(maxBlock));

    // Blocks are read backwards; each holds every byte of the matches ending in
    // [lowest, p], and the next one ends where this one's candidates stop.
    while (p >= len - 1) {
        const std::int64_t from = std::max<std::int64_t>(0, p + 1 - blockSize);
        const std::int64_t lowest = from + len - 1;
        const auto n = static_cast<size_t>(ReadForFind(from, buffer, p + 1 - from));
        const size_t at = search.FindLast(buffer, n);
        const std::int64_t found =
            at == CByteSearch::npos ? -1 : from + static_cast<std::int64_t>(at) + len - 1;
        // Candidates are tried from p down, with a cancel check after each
        // candidate position that is a multiple of kUpCheckEvery.
        const std::int64_t tried = found >= 0 ? found + 1 : lowest;
        for (std::int64_t q = p - p % kUpCheckEvery; q >= tried; q -= kUpCheckEvery)
            if (Cancelled(p + 1))
                return -1;
        if (found >= 0)
            return found;
        p = lowest - 1;
        blockSize = std::min(2 * blockSize, maxBlock);
    }
    return -1;
}

bool CPieceTable::FindAll(const CByteString& pattern, int matchCase, std::int64_t start,
                          std::int64_t stop, const MatchSink& onMatch,
                          const BlockCheck& onBlock) const {
    const auto len = static_cast<std::int64_t>(pattern.size());
    start = std::max<std::int64_t>(start, 0);
    stop = std::min(stop, m_list.m_nLength);
    if (len == 0 || stop - start < len)
        return true;
    const CByteSearch search(pattern, matchCase != 0);
    const auto blockSize = static_cast<std::int64_t>(BlockSizeFor(pattern.size()));
    const Buffer buffer(static_cast<size_t>(blockSize));
    std::uint8_t* data = buffer.data();

    // Each next block starts with the last len - 1 bytes of the one before: a
    // match across the seam is seen whole, and none is reported twice, since
    // a match needs len bytes to be found.
    const std::int64_t keep = len - 1;
    std::int64_t base = start; // offset of data[0]
    // A file another program shortened reads short: an error, as for Find.
    const auto readAt = [&](std::int64_t from, std::uint8_t* to, std::int64_t count) {
        const std::int64_t got = ReadAt(from, to, count);
        if (got < count)
            Raise(CFileException::endOfFile);
        return got;
    };
    std::int64_t n = readAt(base, data, std::min(blockSize, stop - base));
    for (;;) {
        size_t i = 0;
        const auto size = static_cast<size_t>(n);
        while (size - i >= pattern.size()) {
            const size_t at = search.FindFirst(data + i, size - i);
            if (at == CByteSearch::npos)
                break;
            if (!onMatch(base + static_cast<std::int64_t>(i + at)))
                return false;
            i += at + 1;
        }
        if (base + n >= stop)
            return true;
        std::memmove(data, data + n - keep, static_cast<size_t>(keep));
        base += n - keep;
        if (onBlock && onBlock(base))
            return false;
        const std::int64_t from = base + keep;
        n = keep + readAt(from, data + keep, std::min(blockSize - keep, stop - from));
    }
}
