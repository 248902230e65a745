// Searching the edited content, through Seek and Read so every edit is seen.
#include "storage/ByteSearch.h"
#include "storage/CPieceFile64.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

namespace {
// Content is read in blocks of this size; the cancel check runs once per block
// going down and once every kUpCheckEvery candidate positions going up.
constexpr size_t kBlockSize = 65536;
constexpr std::int64_t kUpCheckEvery = 1024;

// A block buffer left uninitialised: replace all starts a search for every
// occurrence, and zeroing 64 KiB each time would cost more than the search.
class Buffer {
public:
    explicit Buffer(size_t size) : m_data(new std::uint8_t[size]) {}
    std::uint8_t* data() const { return m_data.get(); }

private:
    std::unique_ptr<std::uint8_t[]> m_data;
};

// A block must hold a pattern twice over, or a long one could never be found.
size_t BlockSizeFor(size_t patternLength) {
    return std::max(kBlockSize, 2 * patternLength);
}
} // namespace

std::uint32_t CPieceFile64::ReadForFind(void* buffer, std::uint32_t count) {
    const std::uint32_t got = Read(buffer, count);
    // Reading stops short of the end when another program shortened the file:
    // that is an error, not the end of the search.
    if (got < count && m_nPosition < m_nTotalLength)
        Raise(CFileException::endOfFile);
    return got;
}

std::int64_t CPieceFile64::Find(CByteString pattern, int matchCase, int down, std::int64_t start,
                                std::int64_t limit) {
    if (pattern.empty())
        return start;
    const std::int64_t saved = m_nPosition;
    std::int64_t result = -1;
    try {
        result = down ? FindDown(pattern, matchCase != 0, start, limit)
                      : FindUp(pattern, matchCase != 0, start);
    } catch (...) {
        m_nPosition = saved; // a failed read leaves the caret where it was, too
        throw;
    }
    m_nPosition = result < 0 ? saved : result;
    return result;
}

std::int64_t CPieceFile64::FindDown(const CByteString& pattern, bool matchCase, std::int64_t start,
                                    std::int64_t limit) {
    if (start < 0 || start > m_nTotalLength)
        return -1; // nothing starts outside the content
    const CByteSearch search(pattern, matchCase);
    const size_t len = pattern.size();
    const std::int64_t effectiveLimit = limit == -1 ? INT64_MAX : limit;
    const size_t blockSize = BlockSizeFor(len);
    const Buffer buffer(blockSize);

    Seek(start, begin);
    size_t n = ReadForFind(buffer.data(), static_cast<std::uint32_t>(blockSize));
    if (n < len)
        return -1;
    // Each next block starts with the last `len` bytes of the one before, so a
    // match across the seam is seen whole.
    std::int64_t base = 0; // distance from start to buffer[0]
    for (;;) {
        if (start + base >= effectiveLimit)
            return -1;
        const size_t at = search.FindFirst(buffer.data(), n);
        if (at != CByteSearch::npos) {
            const std::int64_t found = start + base + static_cast<std::int64_t>(at);
            return found + static_cast<std::int64_t>(len) <= effectiveLimit ? found : -1;
        }
        if (n <= len)
            return -1; // the end of the content
        std::memmove(buffer.data(), buffer.data() + n - len, len);
        base += static_cast<std::int64_t>(n - len);
        n = len + ReadForFind(buffer.data() + len, static_cast<std::uint32_t>(blockSize - len));
        if (Cancelled())
            return -1;
    }
}

std::int64_t CPieceFile64::FindUp(const CByteString& pattern, bool matchCase, std::int64_t start) {
    const CByteSearch search(pattern, matchCase);
    const auto len = static_cast<std::int64_t>(pattern.size());
    const std::int64_t length = m_nTotalLength;
    if (start <= 0)
        return -1; // no match starts before the first byte
    // p is the last byte of the next candidate match: first the one starting
    // just before start, never one running past the end.
    start = std::min(start, length);
    std::int64_t p = std::min(start + len - 2, length - 1);
    const auto blockSize = static_cast<std::int64_t>(BlockSizeFor(pattern.size()));
    const Buffer buffer(static_cast<size_t>(blockSize));

    // Blocks are read backwards; each holds every byte of the matches ending in
    // [lowest, p], and the next one ends where this one's candidates stop.
    while (p >= len - 1) {
        const std::int64_t from = std::max<std::int64_t>(0, p + 1 - blockSize);
        const std::int64_t lowest = from + len - 1;
        Seek(from, begin);
        const size_t n = ReadForFind(buffer.data(), static_cast<std::uint32_t>(p + 1 - from));
        const size_t at = search.FindLast(buffer.data(), n);
        const std::int64_t found =
            at == CByteSearch::npos ? -1 : from + static_cast<std::int64_t>(at) + len - 1;
        // Candidates are tried from p down, with a cancel check after each
        // candidate position that is a multiple of kUpCheckEvery.
        const std::int64_t tried = found >= 0 ? found + 1 : lowest;
        for (std::int64_t q = p - p % kUpCheckEvery; q >= tried; q -= kUpCheckEvery)
            if (Cancelled())
                return -1;
        if (found >= 0)
            return found;
        p = lowest - 1;
    }
    return -1;
}

bool CPieceFile64::FindAll(const CByteString& pattern, int matchCase, std::int64_t start,
                           std::int64_t stop, const MatchSink& onMatch,
                           const BlockCheck& onBlock) const {
    const auto len = static_cast<std::int64_t>(pattern.size());
    start = std::max<std::int64_t>(start, 0);
    stop = std::min(stop, m_nTotalLength);
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
