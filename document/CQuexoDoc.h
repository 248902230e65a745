// The document of one open file (or new unnamed buffer). It owns the piece
// file every view reads and edits through; it decides how a file is opened
// (read-write, else read-only, or handed to the text editor) and saved (edits
// committed in place, or the whole content copied to another file that then
// becomes the document's file).
#pragma once

#include "document/ByteRange.h"
#include "document/EditPlace.h"
#include "document/TypingRun.h"
#include "framework/CDocument.h"
#include "storage/ContentChange.h"
#include "storage/FileChange.h"

#include <QTimer>

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

class CPieceFile64;
class QFileSystemWatcher;

class CQuexoDoc : public CDocument {
    Q_OBJECT
public:
    CQuexoDoc();
    ~CQuexoDoc() override;

    void DeleteContents() override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;

    // The one way edits reach the content (CQuexoDocEdits.cpp). Each applies
    // the edit to the piece table, bumps the revision, marks the document
    // modified and updates every view with kHintContentChanged and a
    // CContentChangeHint of the changed bytes. A refused edit (read-only file,
    // error) throws CFileException before anything is marked. Without a file
    // they do nothing.
    //
    // Overwrites `count` bytes at `offset`; the file's position stays.
    void OverwriteBytes(std::int64_t offset, const void* bytes, std::int64_t count);
    // Inserts `count` bytes of `value` at `offset`.
    void InsertBytes(std::int64_t offset, std::uint32_t count, int value);
    // Removes the bytes of `range`.
    void DeleteBytes(CByteRange range);
    // Puts `count` bytes in place of `range` (of any length); the file's
    // position ends just after the new bytes.
    void ReplaceBytes(CByteRange range, const void* bytes, std::int64_t count);
    // Many edits as one for the views (replace all): while a batch is open,
    // edits still bump the revision and mark the document modified, but the
    // views hear of them once, when the outermost batch closes (also through
    // an exception), in one update covering every changed byte.
    class CEditBatch {
    public:
        explicit CEditBatch(CQuexoDoc& doc);
        ~CEditBatch();
        CEditBatch(const CEditBatch&) = delete;
        CEditBatch& operator=(const CEditBatch&) = delete;
        // Tells the views now what the batch changed so far, as before a
        // question: while it is up, every window reads the content as it is.
        void UpdateViewsNow();

    private:
        CQuexoDoc& m_doc;
    };

    // Changes with every edit and whenever the content is replaced, so caches
    // of bytes read from it know when to read again.
    std::uint64_t GetRevision() const { return m_nRevision; }

    // Undo history (CQuexoDocHistory.cpp). Every edit is one undo step; edits
    // made between BeginEditStep and EndEditStep (which nest; see CEditStep)
    // are one step together, such as a whole replace-all. `before` is the
    // caret and anchor to put back when the step is undone (only the
    // outermost call's counts); without it undo leaves the caret alone.
    void BeginEditStep(std::optional<CEditPlace> before = std::nullopt);
    void EndEditStep();
    // Typing: overwrites like OverwriteBytes, but a run of bytes typed by one
    // view at consecutive offsets (or again at the same one, the second hex
    // digit) is one step (the rule is CTypingRun's). Any other edit, undo, redo
    // or save ends the run, and so does the typist's caret going elsewhere:
    // the view reports each keystroke's end and each caret move.
    void TypeBytes(std::int64_t offset, const void* bytes, std::int64_t count, CEditPlace before,
                   const void* typist);
    void TypingKeystrokeDone(const void* typist, CEditPlace after);
    void TypistCaretMoved(const void* typist, CEditPlace place) { m_typing.CaretAt(typist, place); }
    void EndTypingRun();
    // Not while a step is open, nor on a read-only document.
    bool CanUndo() const;
    bool CanRedo() const;
    // Undo or redo one step and update every view. `current` is where the
    // caller's caret stands now (kept for redoing the step). Return the place
    // to put the caller's caret and anchor, when known.
    std::optional<CEditPlace> Undo(CEditPlace current);
    std::optional<CEditPlace> Redo(CEditPlace current);
    // Where the caret stands once the last step's command has placed it; redo
    // puts it there. Without it, redo uses the place undo found.
    void SetPlaceAfterStep(CEditPlace after);

    // Another program and the open file (CQuexoDocOutside.cpp). The file and
    // its folder are watched; a change, the application coming to the front
    // and every save check the file's identity, and the user hears of each
    // change once.
    //
    // What changed since the file was last read whole or saved.
    FileChange GetOutsideChange() const;
    // Tells the user of a change not told yet, and acts on the answer.
    void CheckOutsideChange();
    // The Reload command: asks first when there are edits to drop.
    void OnFileReload();
    // Reads the file again from its name, dropping the edits and the undo
    // history; caret, selection and scrolling stay where they still exist.
    bool ReloadFile();

    // The content model, owned here; views, printing and commands hold this
    // pointer without owning it. Null before the first open or new.
    CPieceFile64* GetPieceFile() const { return m_pFile.get(); }
    // Puts `file` in place of the content (tests and benchmarks that open a
    // file by hand); the views move to it before the old one goes.
    void AttachFile(std::unique_ptr<CPieceFile64> file);
    bool m_bReadOnly = true;

protected:
    void OnFileEditAsText();

private:
    // The one place the model is replaced: every view lets go of the old one
    // (or moves to `file`) before it is freed, so no window, prompt or repaint
    // in between can read a freed model.
    void ReplaceModel(std::unique_ptr<CPieceFile64> file);
    // Copies the content to `path` and moves the document onto that file.
    bool SaveToOtherFile(const QString& path);
    void ContentChanged(const CContentChange& change);
    // Runs an edit of the piece file, telling a file cut short by another
    // program; returns the edit's change.
    template <typename Edit> CContentChange EditFile(const Edit& edit);
    CContentChange WriteOverFile(std::int64_t offset, const void* bytes, std::int64_t count);
    // After undo or redo: the flag follows the saved state, and every view repaints.
    void HistoryMoved(const CContentChanges& changes);
    // Forgets the places of the steps of a file that is gone.
    void ResetHistory();
    // Tells the user, in the status bar, when a save made the oldest steps
    // impossible to undo (the files they read were let go).
    void ReportDroppedSteps();
    std::uint64_t GroupOf(std::uint64_t stepId) const;
    // The file was read whole or saved: the new baseline, and watch it.
    void StartWatching();
    void StopWatching();
    void OnWatchedPathChanged();
    // Before a save to the document's own file: true when there was no outside
    // change or the user agreed to replace the other program's version.
    bool ConfirmSaveOverOutsideChange();
    // Whether another program cut the open file short: why a read, an edit or
    // a save ran out of file (our own failed commit since does not hide it).
    bool IsShortenedUnderneath() const;
    // Why a save ran out of file: another program shortened it.
    void ReportShortened();
    std::string WatchedName() const;

    // A commit outside a save (replace all saving part-way) writes the file
    // too: the baseline follows our own writes.
    void FollowOwnWrites();

    std::unique_ptr<CPieceFile64> m_pFile; // replaced by every open, new and reload
    CFileChangeTracker m_outside;
    std::uint64_t m_nWritesSeen = 0;
    QFileSystemWatcher* m_pWatcher = nullptr; // owned by this QObject
    QTimer m_outsideCheck;                    // gathers a burst of notifications
    bool m_bAskingOutside = false;
    bool m_bSavingNow = false;

    std::uint64_t m_nRevision = 0;
    // The open edit batches and what their edits changed so far.
    int m_nBatchDepth = 0;
    // What their edits changed so far, as one change covering them all.
    std::optional<CContentChange> m_batchChange;

    // Per step id of the piece table: the step that opened its group (a
    // typing run is several steps of the table) and the places around it.
    struct CStepPlaces {
        std::uint64_t group = 0;
        std::optional<CEditPlace> before;
        std::optional<CEditPlace> after;
    };
    std::unordered_map<std::uint64_t, CStepPlaces> m_steps;
    int m_nStepDepth = 0;
    CPieceFile64* m_pStepFile = nullptr; // the file the open step was begun on
    CTypingRun m_typing;
};

// Groups the document's edits made during its lifetime into one undo step.
class CEditStep {
public:
    explicit CEditStep(CQuexoDoc& document, std::optional<CEditPlace> before = std::nullopt)
        : m_document(document) {
        m_document.BeginEditStep(before);
    }
    ~CEditStep() { m_document.EndEditStep(); }
    CEditStep(const CEditStep&) = delete;
    CEditStep& operator=(const CEditStep&) = delete;

private:
    CQuexoDoc& m_document;
};
