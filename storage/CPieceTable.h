// The edited content of one document: the unchanged file on disk plus every
// edit since, as an ordered list of pieces. A piece is a range of the file or a
// block in memory; unchanged ranges are never loaded.
//
// Every call says where it acts; the table keeps no position. Each edit
// returns the change it made, in the content's offsets.
#pragma once

#include "storage/ByteString.h"
#include "storage/CFileException.h"
#include "storage/CPieceChange.h"
#include "storage/CPieceHistory.h"
#include "storage/CPieceList.h"
#include "storage/CSourceFile.h"
#include "storage/ContentChange.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

// What tests and callers may look at of a piece.
struct CPieceInfo {
    std::int64_t m_nStart;
    std::int64_t m_nLength;
    bool m_bFromFile;
    std::int64_t m_nFileOffset;
};

class CPieceTable {
public:
    CPieceTable();
    ~CPieceTable();
    CPieceTable(const CPieceTable&) = delete;
    CPieceTable& operator=(const CPieceTable&) = delete;

    // Starts over from the file (the flags of CFile64::Open); false when it
    // cannot be opened, `error` (may be null) then says why. An old file is
    // let go first, whatever the outcome.
    bool Open(const char* fileName, unsigned flags, CFileException* error = nullptr);
    std::int64_t GetLength() const { return m_list.m_nLength; }
    // Returns the bytes read (fewer at the end of the content, or where the
    // file was shortened underneath).
    std::int64_t ReadAt(std::int64_t offset, void* buffer, std::int64_t count) const;

    // Edits. Each returns what it changed (empty when nothing). Overwriting
    // never lengthens the content. `written` (may be null) gets the bytes
    // overwritten, also when an error stops the write part-way.
    CContentChange Overwrite(std::int64_t offset, const void* buffer, std::int64_t count,
                             std::int64_t* written = nullptr);
    // The same, for a caller that keeps its own place: `pos` moves past each
    // byte written, so an error leaves it after the last one.
    void OverwriteFrom(std::int64_t& pos, const void* buffer, std::int64_t count);
    CContentChange Insert(std::int64_t offset, std::uint32_t count, int value);
    // Removes up to `count` bytes from `offset` (fewer at the end).
    CContentChange Remove(std::int64_t offset, std::int64_t count);
    // `removed` bytes at `offset` give way to `count` bytes of `buffer`, as one
    // change: an overwrite when the lengths are equal.
    CContentChange Replace(std::int64_t offset, std::int64_t removed, const void* buffer,
                           std::int64_t count);
    // Writes the edits back into the file and starts afresh from it
    // (CPieceTableCommit.cpp).
    void Commit();

    std::int64_t GetDiskLength() const;
    int GetPieceCount() const { return static_cast<int>(m_list.m_pieces.size()); }
    // Downward: first byte of the first match at or after start that ends by
    // limit (-1: none, also for a start outside 0…length). Upward: last byte of the nearest match
    // starting before start. -1 when not found or cancelled.
    std::int64_t Find(const CByteString& pattern, int matchCase, int down, std::int64_t start,
                      std::int64_t limit) const;

    // Every match lying wholly inside [start, stop), overlapping ones included,
    // in increasing order, each given to onMatch (false stops the scan). After
    // each block, onBlock (may be empty) gets the offset reached and returns true
    // to cancel. Reads are positional: the position stays. True when the whole
    // range was scanned.
    using MatchSink = std::function<bool(std::int64_t offset)>;
    using BlockCheck = std::function<bool(std::int64_t reached)>;
    bool FindAll(const CByteString& pattern, int matchCase, std::int64_t start, std::int64_t stop,
                 const MatchSink& onMatch, const BlockCheck& onBlock) const;

    // Asked at the points where a long search may stop, with the offset the
    // search has read up to; true cancels it.
    using SearchCheck = std::function<bool(std::int64_t reached)>;
    void SetSearchCheck(SearchCheck check) { m_searchCheck = std::move(check); }
    // Asked as a rewrite through a temporary file goes on, with the bytes
    // written and the total; true stops the save with CSaveCancelled, the
    // original file and the edits as they were.
    using SaveProgress = std::function<bool(std::int64_t done, std::int64_t total)>;
    void SetSaveProgress(SaveProgress progress) { m_saveProgress = std::move(progress); }

    bool IsReadOnly() const { return m_bReadOnly; }
    bool HasFile() const { return m_hSourceFile != platform::kNoFile; }
    const std::string& GetSourcePath() const { return m_strSourcePath; }
    // The name saves write (links resolved at open); empty without a file.
    const std::string& GetSavePath() const { return m_strSavePath; }
    // Rises with every commit to the file, so a watcher of the file
    // can tell our own writes from another program's.
    std::uint64_t GetWriteCount() const { return m_nWriteCount; }
    // The open file's identity now (not valid without a file); reads nothing.
    platform::FileIdentity GetSourceIdentity() const { return platform::IdentityOf(m_hSourceFile); }
    CPieceInfo GetPieceInfo(int index) const;
    // Checks the invariants of the list; returns an empty string or the fault.
    std::string CheckInvariants() const;

    // Undo history (CPieceHistory, reached through CPieceTableUndo.cpp), off
    // until enabled; disabling it or opening a file drops it. Edits between
    // BeginStep and EndStep (which nest) form one step; an edit made outside
    // them is a step of its own. Undo and redo restore the piece list itself,
    // so the pieces and their count are exactly what they were. History
    // survives Commit.
    void EnableHistory(bool enable);
    bool IsHistoryEnabled() const { return m_history != nullptr; }
    // Returns the id of the step being recorded (the outermost one's when nested).
    std::uint64_t BeginStep();
    void EndStep();
    bool CanUndo() const;
    bool CanRedo() const;
    // How many steps Undo and Redo can go back and forth.
    int GetUndoCount() const;
    int GetRedoCount() const;
    // The id of the step the next Undo or Redo acts on; 0 when there is none.
    std::uint64_t GetUndoStepId() const;
    std::uint64_t GetRedoStepId() const;
    // Undo or redo one step; return its id, or 0 when there was none. Not
    // allowed while a step is open.
    // `made` (may be null) gets the changes to the content, in the order made.
    std::uint64_t Undo(CContentChanges* made = nullptr);
    std::uint64_t Redo(CContentChanges* made = nullptr);
    void ClearHistory();
    // Identifies the content: equal after undo or redo comes back to it, new
    // after any other edit.
    std::uint64_t GetStateId() const;
    // Whether the content is the one last written by Commit (or marked saved).
    bool IsAtSavedState() const { return GetStateId() == m_nSavedState; }
    // For callers that save the content by other means (save as).
    void MarkSaved() { m_nSavedState = GetStateId(); }

    // A rewrite keeps the file it replaced open (deleted, but still on disk)
    // while undo may read it. Those files together never hold more than this
    // many times the saved file's size: a rewrite that would pass it drops
    // the oldest steps that need the oldest such file, and lets it go.
    static constexpr std::int64_t kReplacedFilesBound = 2;
    // True, once, after a save dropped undo steps to stay within the bound.
    bool TakeDroppedSteps() { return std::exchange(m_bDroppedSteps, false); }

private:
    [[noreturn]] void Raise(int cause) const;
    void ReadFromFile(const CSourceFile& source, std::int64_t fileOffset, void* buffer,
                      std::uint32_t count, std::uint32_t* got) const;
    // Reads a range of the source file of any size; returns the bytes read.
    std::int64_t ReadFileRange(const CSourceFile& source, std::int64_t fileOffset,
                               std::uint8_t* out, std::int64_t count) const;
    // Drops the file, the pieces and the history.
    void ReleaseSource();

    [[noreturn]] void RaiseOs(int osError) const;

    // Commit helpers (CPieceTableCommit.cpp).
    // Raises nameReplaced unless the save path still leads, without a link
    // anywhere along it, to the open file (or to nothing: a removed file is
    // written anew under its name).
    void CheckSavePath() const;
    bool CanCommitInPlace() const;
    void CommitInPlace();
    void CommitRewrite();
    // Starts afresh from the saved file, held through `handle`. A handle other
    // than the current one is ours from the call on: closed once if this throws.
    void StartAfresh(platform::FileHandle handle);
    // Copies a file piece whose version the file no longer holds as is.
    void CopyKeptVersion(const CPiece& piece, platform::FileHandle to, std::int64_t toOffset);

    // Every edit makes its changes to the list through the change BeginEdit
    // picks: the open step's, which keeps them for undo, or one that keeps
    // nothing. EndEdit runs however the edit ends.
    void BeginEdit() {
        if (m_history)
            BeginRecordedEdit();
        else
            BeginUnkeptEdit();
    }
    void EndEdit() {
        if (m_history)
            EndRecordedEdit();
    }
    void BeginRecordedEdit() {
        // What may fail comes first: an edit that cannot begin leaves no step open.
        CPieceChange& open = m_history->Open();
        open.ReserveNote();
        m_bAutoStep = !m_history->IsStepOpen();
        if (m_bAutoStep)
            m_history->BeginStep();
        m_pEdit = &open;
    }
    void BeginUnkeptEdit() {
        m_pEdit = &m_unkept;
        m_nBaseState = ++m_nLastId; // no history: every edit is a new content
    }
    void EndRecordedEdit() {
        m_history->AfterEdit();
        // Saved in the middle of this step: changed again since, it is no
        // longer the saved content.
        if (m_nSavedState == m_history->OpenId() && !m_history->Open().EndsWithSave())
            m_nSavedState = kNoState;
        if (m_bAutoStep) {
            m_bAutoStep = false;
            m_history->EndStep();
        }
    }
    // At the end of a save: the list it replaced, kept while history needs it.
    void KeepSavedOverList(std::vector<CPiece*> oldList);
    // Remove's work on the list, made through `change`.
    void RemoveRange(CPieceChange& change, std::int64_t offset, std::int64_t rem);
    // Begins an edit, and ends it however the scope is left.
    struct CEditScope {
        explicit CEditScope(CPieceTable& table) : m_table(table) { table.BeginEdit(); }
        ~CEditScope() { m_table.EndEdit(); }
        CEditScope(const CEditScope&) = delete;
        CEditScope& operator=(const CEditScope&) = delete;
        CPieceTable& m_table;
    };

    // Replaced files (CPieceTableReplaced.cpp).
    void BoundReplacedFiles();

    // Find helpers (CPieceTableFind.cpp).
    std::int64_t FindDown(const CByteString& pattern, bool matchCase, std::int64_t start,
                          std::int64_t limit) const;
    std::int64_t FindUp(const CByteString& pattern, bool matchCase, std::int64_t start) const;
    bool Cancelled(std::int64_t reached) const { return m_searchCheck && m_searchCheck(reached); }
    // Read that raises endOfFile when the content ends early on disk.
    std::int64_t ReadForFind(std::int64_t offset, std::uint8_t* buffer, std::int64_t count) const;
    // The block buffer searches read into, kept from one search to the next
    // (replace all searches once per match); at least `size` bytes.
    std::uint8_t* FindBuffer(size_t size) const;

    platform::FileHandle m_hSourceFile = platform::kNoFile; // m_source's; not owned here
    std::uint64_t m_nWriteCount = 0;
    std::shared_ptr<CSourceFile> m_source; // the file's current version
    CPieceList m_list;
    bool m_bReadOnly = false;
    std::string m_strSourcePath;
    // Where saves go: the opened file's path with every link resolved at open.
    // A save checks that it still leads to the open handle's file, so a link
    // put in its place later is never followed.
    std::string m_strSavePath;
    SearchCheck m_searchCheck;
    mutable std::unique_ptr<std::uint8_t[]> m_findBuffer;
    mutable size_t m_nFindBufferSize = 0;

    static constexpr std::uint64_t kNoState = ~std::uint64_t{0}; // a state never reached
    std::unique_ptr<CPieceHistory> m_history;
    CPieceChange m_unkept{false};      // what edits change through without history
    CPieceChange* m_pEdit = &m_unkept; // the running edit's change
    bool m_bAutoStep = false;          // the running edit opened its own step
    std::uint64_t m_nLastId = 0;       // ids of steps and states come from one counter
    std::uint64_t m_nBaseState = 0;    // the state with no step applied
    std::uint64_t m_nSavedState = 0;
    SaveProgress m_saveProgress;
    bool m_bDroppedSteps = false;
};

// A save the user stopped; nothing was changed.
struct CSaveCancelled {};
