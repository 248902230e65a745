// The document's edit path: every change to the content comes through here,
// so the revision, the modified flag, the undo history and the views never
// miss one. Each edit is one undo step, or part of the step a caller opened.
#include "document/CQuexoDoc.h"

#include "document/UpdateHints.h"
#include "storage/CPieceFile64.h"

#include <algorithm>
#include <cstdint>

template <typename Edit> CContentChange CQuexoDoc::EditFile(const Edit& edit) {
    try {
        return edit(*m_pFile);
    } catch (const CFileException& e) {
        // Overwriting reads the bytes around from the file: one another
        // program cut short runs out, and the user should hear why.
        if (e.m_cause == CFileException::endOfFile && IsShortenedUnderneath())
            throw CFileException(CFileException::fileShortened, -1, m_pFile->GetSourcePath());
        throw;
    }
}

CContentChange CQuexoDoc::WriteOverFile(std::int64_t offset, const void* bytes,
                                        std::int64_t count) {
    return EditFile([&](CPieceFile64& file) { return file.WriteAt(offset, bytes, count); });
}

void CQuexoDoc::OverwriteBytes(std::int64_t offset, const void* bytes, std::int64_t count) {
    if (!m_pFile || count <= 0)
        return;
    CEditStep step(*this);
    ContentChanged(WriteOverFile(offset, bytes, count));
}

void CQuexoDoc::InsertBytes(std::int64_t offset, std::uint32_t count, int value) {
    if (!m_pFile || count == 0)
        return;
    CEditStep step(*this);
    ContentChanged(m_pFile->InsertAt(offset, count, value));
}

void CQuexoDoc::DeleteBytes(CByteRange range) {
    if (!m_pFile || range.IsEmpty())
        return;
    CEditStep step(*this);
    ContentChanged(m_pFile->RemoveAt(range.start, range.length));
}

void CQuexoDoc::ReplaceBytes(CByteRange range, const void* bytes, std::int64_t count) {
    if (!m_pFile || (range.IsEmpty() && count <= 0))
        return;
    // Removal, insertion and overwrite are one step, undone together.
    CEditStep step(*this);
    const CContentChange change = EditFile([&](CPieceFile64& file) {
        return file.ReplaceAt(range.start, range.length, bytes, count);
    });
    // Callers reading on through the file go on after the new bytes.
    m_pFile->Seek(change.m_nOffset + change.m_nInserted, CFile64::begin);
    ContentChanged(change);
}

void CQuexoDoc::TypeBytes(std::int64_t offset, const void* bytes, std::int64_t count,
                          CEditPlace before, const void* typist) {
    if (!m_pFile || count <= 0)
        return;
    if (m_nStepDepth > 0) {
        // Inside a caller's step, typing is just part of it.
        OverwriteBytes(offset, bytes, count);
        return;
    }
    const bool continues = m_typing.Continues(typist, offset, m_pFile->GetStateId());
    const std::uint64_t group = continues ? m_typing.Group() : 0;
    m_typing.End();
    // A step of the piece table per keystroke; the run groups them, so undo
    // and redo take the whole run at once.
    const std::uint64_t id = m_pFile->BeginStep();
    CContentChange change;
    try {
        change = WriteOverFile(offset, bytes, count);
    } catch (...) {
        m_pFile->EndStep();
        throw;
    }
    m_pFile->EndStep();
    if (id != 0) {
        CStepPlaces& places = m_steps[id];
        places.group = group ? group : id;
        if (!group)
            places.before = before;
        m_typing.Typed(places.group, typist, offset, m_pFile->GetStateId());
    }
    ContentChanged(change);
}

void CQuexoDoc::TypingKeystrokeDone(const void* typist, CEditPlace after) {
    m_typing.KeystrokeDone(typist, after);
    SetPlaceAfterStep(after);
}

void CQuexoDoc::ContentChanged(const CContentChange& change) {
    ++m_nRevision;
    // Inside an open step the content is changed whatever the state id says
    // (the step counts once it closes; EndEditStep settles the flag).
    SetModifiedFlag(m_nStepDepth > 0 || !m_pFile || !m_pFile->IsAtSavedState());
    if (m_nBatchDepth > 0) {
        m_batchChange = m_batchChange ? CContentChange::Covering(*m_batchChange, change) : change;
        return;
    }
    CContentChangeHint hint({change});
    UpdateAllViews(nullptr, kHintContentChanged, &hint);
}

CQuexoDoc::CEditBatch::CEditBatch(CQuexoDoc& doc) : m_doc(doc) {
    ++m_doc.m_nBatchDepth;
}

CQuexoDoc::CEditBatch::~CEditBatch() {
    if (--m_doc.m_nBatchDepth > 0)
        return;
    try {
        UpdateViewsNow();
    } catch (...) {
        // Views only re-read the file here; nothing may leave a destructor.
    }
}

void CQuexoDoc::CEditBatch::UpdateViewsNow() {
    if (!m_doc.m_batchChange)
        return;
    CContentChangeHint hint({*m_doc.m_batchChange});
    m_doc.m_batchChange.reset();
    m_doc.UpdateAllViews(nullptr, kHintContentChanged, &hint);
}
