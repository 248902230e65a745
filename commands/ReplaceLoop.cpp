#include "commands/ReplaceLoop.h"

#include "storage/CPieceFile64.h"

#include <algorithm>

std::int64_t CPieceFileReplaceTarget::Find(const CByteString& pattern, int matchCase,
                                           std::int64_t start, std::int64_t limit) {
    return m_file.Find(pattern, matchCase, 1, start, limit);
}

void CPieceFileReplaceTarget::Replace(std::int64_t offset, std::int64_t length,
                                      const CByteString& replacement) {
    const auto rlen = static_cast<std::int64_t>(replacement.size());
    m_file.Seek(offset, CFile64::begin);
    // Delete and Insert leave the position at the offset; the write then
    // overwrites the replacement's length from there.
    if (length > rlen)
        m_file.Delete(length - rlen);
    else if (length < rlen)
        m_file.Insert(static_cast<std::uint32_t>(rlen - length), 0);
    if (rlen > 0)
        m_file.Write(replacement.data(), static_cast<std::uint32_t>(rlen));
}

int CPieceFileReplaceTarget::GetPieceCount() const {
    return m_file.GetPieceCount();
}

void CPieceFileReplaceTarget::Flush() {
    m_file.Flush();
}

ReplaceResult RunReplace(IReplaceTarget& target, const ReplaceRequest& request,
                         const ReplaceCallbacks& callbacks) {
    ReplaceResult result;
    result.next = request.start;
    // An empty pattern is "found" at once wherever the search starts, so a
    // loop over it would never end.
    if (request.find.empty()) {
        result.end = ReplaceEnd::EmptyFind;
        return result;
    }
    const auto flen = static_cast<std::int64_t>(request.find.size());
    const auto rlen = static_cast<std::int64_t>(request.replacement.size());
    std::int64_t start = request.start;
    std::int64_t limit = request.limit;
    bool flushAllowed = false;
    try {
        for (;;) {
            const std::int64_t pos = target.Find(request.find, request.matchCase, start, limit);
            if (pos < 0) {
                const bool cancelled = callbacks.searchCancelled && callbacks.searchCancelled();
                result.end = cancelled ? ReplaceEnd::Cancelled : ReplaceEnd::NotFound;
                break;
            }
            if (target.GetPieceCount() > kReplacePieceLimit) {
                if (!flushAllowed) {
                    flushAllowed = !callbacks.confirmFlush || callbacks.confirmFlush();
                    if (!flushAllowed) {
                        result.end = ReplaceEnd::FlushDeclined;
                        break;
                    }
                }
                target.Flush();
            }
            target.Replace(pos, flen, request.replacement);
            // Go on after the bytes just written; they are never searched again.
            start = pos + rlen;
            if (limit != -1)
                limit += rlen - flen;
            ++result.count;
            result.next = start;
            if (!request.all) {
                result.end = ReplaceEnd::Replaced;
                break;
            }
            if (callbacks.step && callbacks.step(start)) {
                result.end = ReplaceEnd::Cancelled;
                break;
            }
        }
    } catch (...) {
        result.end = ReplaceEnd::Failed;
        result.error = std::current_exception();
    }
    return result;
}
