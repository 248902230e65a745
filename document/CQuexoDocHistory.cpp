// Undo and redo of the document's edits. The piece table keeps the history
// (on pieces, so a step costs what the edit cost); the document adds what the
// table cannot know: which table steps make one user step (a typing run), and
// where the caret stood around each.
#include "document/CQuexoDoc.h"

#include "document/UpdateHints.h"
#include "framework/CMDIFrameWnd.h"
#include "framework/CWinApp.h"
#include "storage/CPieceFile64.h"

#include <algorithm>

void CQuexoDoc::BeginEditStep(std::optional<CEditPlace> before) {
    if (m_nStepDepth++ > 0)
        return;
    EndTypingRun();
    m_pStepFile = m_pFile.get();
    if (!m_pFile)
        return;
    if (const std::uint64_t id = m_pFile->BeginStep())
        m_steps[id] = {id, before, std::nullopt};
}

void CQuexoDoc::EndEditStep() {
    if (m_nStepDepth == 0 || --m_nStepDepth > 0)
        return;
    // A step begun on a file the document no longer has ended with it.
    if (m_pStepFile && m_pStepFile == m_pFile.get()) {
        m_pFile->EndStep();
        SetModifiedFlag(!m_pFile->IsAtSavedState());
        ReportDroppedSteps(); // a replace-all may have saved part-way
    }
    m_pStepFile = nullptr;
}

void CQuexoDoc::ReportDroppedSteps() {
    if (!m_pFile || !m_pFile->TakeDroppedSteps())
        return;
    if (CWinApp* app = AfxGetApp(); app && app->GetMainWnd())
        app->GetMainWnd()->SetMessageText(
            QStringLiteral("Les modifications les plus anciennes ne peuvent plus être annulées."));
}

void CQuexoDoc::EndTypingRun() {
    m_typing.End();
}

bool CQuexoDoc::CanUndo() const {
    return m_pFile && !m_bReadOnly && m_nStepDepth == 0 && m_pFile->CanUndo();
}

bool CQuexoDoc::CanRedo() const {
    return m_pFile && !m_bReadOnly && m_nStepDepth == 0 && m_pFile->CanRedo();
}

std::uint64_t CQuexoDoc::GroupOf(std::uint64_t stepId) const {
    const auto found = m_steps.find(stepId);
    return found != m_steps.end() ? found->second.group : stepId;
}

std::optional<CEditPlace> CQuexoDoc::Undo(CEditPlace current) {
    EndTypingRun();
    if (!CanUndo())
        return std::nullopt;
    const std::uint64_t group = GroupOf(m_pFile->GetUndoStepId());
    CContentChanges changes;
    while (m_pFile->CanUndo() && GroupOf(m_pFile->GetUndoStepId()) == group)
        m_pFile->Undo(&changes);
    CStepPlaces& places = m_steps[group];
    if (!places.after)
        places.after = current;
    const std::optional<CEditPlace> before = places.before;
    HistoryMoved(changes);
    return before;
}

std::optional<CEditPlace> CQuexoDoc::Redo(CEditPlace /*current*/) {
    EndTypingRun();
    if (!CanRedo())
        return std::nullopt;
    const std::uint64_t group = GroupOf(m_pFile->GetRedoStepId());
    CContentChanges changes;
    while (m_pFile->CanRedo() && GroupOf(m_pFile->GetRedoStepId()) == group)
        m_pFile->Redo(&changes);
    const auto found = m_steps.find(group);
    const std::optional<CEditPlace> after =
        found != m_steps.end() ? found->second.after : std::nullopt;
    HistoryMoved(changes);
    return after;
}

void CQuexoDoc::SetPlaceAfterStep(CEditPlace after) {
    if (!m_pFile || m_nStepDepth > 0)
        return;
    if (const std::uint64_t id = m_pFile->GetUndoStepId())
        m_steps[GroupOf(id)].after = after;
}

void CQuexoDoc::HistoryMoved(const CContentChanges& changes) {
    ++m_nRevision;
    SetModifiedFlag(!m_pFile->IsAtSavedState());
    CContentChangeHint hint(changes);
    UpdateAllViews(nullptr, kHintContentChanged, &hint);
}

void CQuexoDoc::ResetHistory() {
    m_steps.clear();
    m_typing.End();
    m_nStepDepth = 0;
    m_pStepFile = nullptr;
    if (m_pFile)
        m_pFile->EnableHistory(true);
}
