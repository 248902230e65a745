// The replace loop of the Replace dialog, without any window: find downward
// from a start, put the replacement in place of each occurrence (deleting or
// inserting the length difference first), go on after it, and let the end of
// a limited range follow the content as it shrinks or grows.
#pragma once

#include "storage/ByteString.h"

#include <cstdint>
#include <exception>
#include <functional>

class CPieceFile64;

// The content the loop edits. The document's edit path implements it; the
// piece-file form below serves tests and the benchmark.
class IReplaceTarget {
public:
    virtual ~IReplaceTarget() = default;
    // Downward search as CPieceFile64::Find; -1 when not found or cancelled.
    virtual std::int64_t Find(const CByteString& pattern, int matchCase, std::int64_t start,
                              std::int64_t limit) = 0;
    // Puts `replacement` in place of the `length` bytes at `offset`.
    virtual void Replace(std::int64_t offset, std::int64_t length,
                         const CByteString& replacement) = 0;
    virtual int GetPieceCount() const = 0;
    // Writes every edit so far into the file on disk.
    virtual void Flush() = 0;
};

// The piece table edited directly: Seek, Delete or Insert the difference, Write.
class CPieceFileReplaceTarget : public IReplaceTarget {
public:
    explicit CPieceFileReplaceTarget(CPieceFile64& file) : m_file(file) {}
    std::int64_t Find(const CByteString& pattern, int matchCase, std::int64_t start,
                      std::int64_t limit) override;
    void Replace(std::int64_t offset, std::int64_t length, const CByteString& replacement) override;
    int GetPieceCount() const override;
    void Flush() override;

private:
    CPieceFile64& m_file;
};

// Beyond this many pieces the edits are written to disk before the next
// replacement, so the piece list does not keep growing.
inline constexpr int kReplacePieceLimit = 1000;

struct ReplaceRequest {
    CByteString find;
    CByteString replacement;
    int matchCase = 0;
    bool all = true;
    std::int64_t start = 0;
    std::int64_t limit = -1; // -1: to the end of the content
};

struct ReplaceCallbacks {
    // Asked once per run, the first time the piece count passes the limit
    // (message 144); false stops the loop before that occurrence. Once allowed,
    // later flushes of the same run are not asked again.
    std::function<bool()> confirmFlush;
    // Called after each replacement with the offset reached; true cancels.
    std::function<bool(std::int64_t offset)> step;
    // Asked when a search found nothing: was it the user cancelling it?
    std::function<bool()> searchCancelled;
};

enum class ReplaceEnd {
    NotFound,      // the search found no (further) occurrence
    Replaced,      // one replacement made, as asked (not "all")
    FlushDeclined, // the flush question was answered Cancel
    Cancelled,     // the user cancelled the progress
    EmptyFind,     // nothing to find: refused before anything changed
    Failed,        // a file error or failed allocation; see `error`
};

struct ReplaceResult {
    std::int64_t count = 0;
    ReplaceEnd end = ReplaceEnd::NotFound;
    // Where the search would go on: the end of the last replacement (the
    // request's start when nothing was replaced).
    std::int64_t next = 0;
    std::exception_ptr error;
};

// Never throws: an error ends the loop with the replacements made so far.
ReplaceResult RunReplace(IReplaceTarget& target, const ReplaceRequest& request,
                         const ReplaceCallbacks& callbacks = {});
