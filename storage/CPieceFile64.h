// The edited content as a file: a position over the piece table, moved by
// Seek, Read and Write as a file's would be. Insert and Delete act at the
// position and leave it there; Find moves it to the match. The positional
// members (ReadAt, WriteAt, InsertAt, RemoveAt, ReplaceAt) leave it where it
// is, only kept within the length.
#pragma once

#include "storage/CFile64.h"
#include "storage/CPieceTable.h"

#include <algorithm>
#include <cstdint>
#include <functional>

class CPieceFile64 : public CFile64 {
public:
    CPieceFile64() = default;
    ~CPieceFile64() override = default;
    CPieceFile64(const CPieceFile64&) = delete;
    CPieceFile64& operator=(const CPieceFile64&) = delete;

    // The content itself, for callers that say where every time.
    CPieceTable& Table() { return m_table; }
    const CPieceTable& Table() const { return m_table; }

    std::int64_t GetPosition() const override { return std::min(m_nPosition, m_table.GetLength()); }
    bool Open(const char* fileName, unsigned flags, CFileException* error = nullptr) override;
    std::int64_t Seek(std::int64_t offset, unsigned origin) override;
    std::int64_t GetLength() const override { return m_table.GetLength(); }
    std::uint32_t Read(void* buffer, std::uint32_t count) override;
    // A write cut short by an error leaves the position after the bytes written.
    void Write(const void* buffer, std::uint32_t count) override;
    // ReadAt returns the bytes read (fewer at the end of the content).
    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) const {
        return m_table.ReadAt(offset, buffer, count);
    }
    CContentChange WriteAt(std::int64_t offset, const void* buffer, std::int64_t count) {
        return m_table.Overwrite(offset, buffer, count);
    }
    CContentChange InsertAt(std::int64_t offset, std::uint32_t count, int value);
    CContentChange RemoveAt(std::int64_t offset, std::int64_t count);
    CContentChange ReplaceAt(std::int64_t offset, std::int64_t removed, const void* buffer,
                             std::int64_t count);
    // Writes the edits back into the file and starts afresh from it, at
    // position 0.
    void Flush() override;

    virtual std::int64_t GetDiskLength() const { return m_table.GetDiskLength(); }
    virtual void Insert(std::uint32_t count, int value);
    virtual void Delete(std::int64_t count);
    virtual int GetPieceCount() const { return m_table.GetPieceCount(); }
    // Downward: first byte of the first match at or after start that ends by
    // limit (-1: none, also for a start outside 0…length). Upward: last byte of
    // the nearest match starting before start. -1 when not found or cancelled.
    // The position moves to the match and stays where it was otherwise; while
    // the search runs it is where the search has read to, for the cancel check.
    virtual std::int64_t Find(CByteString pattern, int matchCase, int down, std::int64_t start,
                              std::int64_t limit);

    using MatchSink = CPieceTable::MatchSink;
    using BlockCheck = CPieceTable::BlockCheck;
    bool FindAll(const CByteString& pattern, int matchCase, std::int64_t start, std::int64_t stop,
                 const MatchSink& onMatch, const BlockCheck& onBlock) const {
        return m_table.FindAll(pattern, matchCase, start, stop, onMatch, onBlock);
    }
    // Asked at the points where a long search may stop; true cancels it.
    void SetCancelCheck(std::function<bool()> check);
    using SaveProgress = CPieceTable::SaveProgress;
    void SetSaveProgress(SaveProgress progress) { m_table.SetSaveProgress(std::move(progress)); }

    bool IsReadOnly() const { return m_table.IsReadOnly(); }
    bool HasFile() const { return m_table.HasFile(); }
    const std::string& GetSourcePath() const { return m_table.GetSourcePath(); }
    const std::string& GetSavePath() const { return m_table.GetSavePath(); }
    std::uint64_t GetWriteCount() const { return m_table.GetWriteCount(); }
    platform::FileIdentity GetSourceIdentity() const { return m_table.GetSourceIdentity(); }
    CPieceInfo GetPieceInfo(int index) const { return m_table.GetPieceInfo(index); }
    // Checks the invariants of the list and the position; returns an empty
    // string or the fault.
    std::string CheckInvariants() const;

    // Undo history: see CPieceTable. Undo and redo keep the position within
    // the length; the caller restores its caret.
    void EnableHistory(bool enable) { m_table.EnableHistory(enable); }
    bool IsHistoryEnabled() const { return m_table.IsHistoryEnabled(); }
    std::uint64_t BeginStep() { return m_table.BeginStep(); }
    void EndStep() { m_table.EndStep(); }
    bool CanUndo() const { return m_table.CanUndo(); }
    bool CanRedo() const { return m_table.CanRedo(); }
    int GetUndoCount() const { return m_table.GetUndoCount(); }
    int GetRedoCount() const { return m_table.GetRedoCount(); }
    std::uint64_t GetUndoStepId() const { return m_table.GetUndoStepId(); }
    std::uint64_t GetRedoStepId() const { return m_table.GetRedoStepId(); }
    std::uint64_t Undo(CContentChanges* made = nullptr);
    std::uint64_t Redo(CContentChanges* made = nullptr);
    void ClearHistory() { m_table.ClearHistory(); }
    std::uint64_t GetStateId() const { return m_table.GetStateId(); }
    bool IsAtSavedState() const { return m_table.IsAtSavedState(); }
    void MarkSaved() { m_table.MarkSaved(); }

    static constexpr std::int64_t kReplacedFilesBound = CPieceTable::kReplacedFilesBound;
    bool TakeDroppedSteps() { return m_table.TakeDroppedSteps(); }

private:
    // The table may have been edited straight, past the position: it then
    // stands at the end, as after an edit through the face.
    void KeepPositionWithin() { m_nPosition = std::min(m_nPosition, m_table.GetLength()); }

    CPieceTable m_table;
    std::int64_t m_nPosition = 0;
    std::function<bool()> m_cancelCheck;
};
