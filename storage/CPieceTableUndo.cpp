// The table's side of undo: it hands the history its list and tells it where
// edits begin and end. The history (CPieceHistory) and the changes it holds
// (CPieceChange) never call back into the table.
#include "storage/CPieceHistory.h"
#include "storage/CPieceTable.h"
#include "storage/PieceListCheck.h"

void CPieceTable::EnableHistory(bool enable) {
    if (enable && !m_history) {
        m_history = std::make_unique<CPieceHistory>(m_nLastId);
    } else if (!enable && m_history) {
        ClearHistory();
        m_history.reset();
        m_pEdit = &m_unkept;
    }
}

void CPieceTable::ClearHistory() {
    if (!m_history)
        return;
    m_nBaseState = GetStateId(); // the content stays; so does whether it is the saved one
    m_history->Clear();
}

std::uint64_t CPieceTable::GetStateId() const {
    if (m_history)
        if (const std::uint64_t top = m_history->TopUndoId())
            return top;
    return m_nBaseState;
}

bool CPieceTable::CanUndo() const {
    return m_history && m_history->CanUndo();
}

bool CPieceTable::CanRedo() const {
    return m_history && m_history->CanRedo();
}

int CPieceTable::GetUndoCount() const {
    return m_history ? m_history->GetUndoCount() : 0;
}

int CPieceTable::GetRedoCount() const {
    return m_history ? m_history->GetRedoCount() : 0;
}

std::uint64_t CPieceTable::GetUndoStepId() const {
    return CanUndo() ? m_history->TopUndoId() : 0;
}

std::uint64_t CPieceTable::GetRedoStepId() const {
    return CanRedo() ? m_history->TopRedoId() : 0;
}

std::uint64_t CPieceTable::BeginStep() {
    return m_history ? m_history->BeginStep() : 0;
}

void CPieceTable::EndStep() {
    if (m_history)
        m_history->EndStep();
}

std::uint64_t CPieceTable::Undo(CContentChanges* made) {
    if (!CanUndo())
        return 0;
    const EditCheck check(m_list);
    return m_history->Undo(m_list, made);
}

std::uint64_t CPieceTable::Redo(CContentChanges* made) {
    if (!CanRedo())
        return 0;
    const EditCheck check(m_list);
    return m_history->Redo(m_list, made);
}

void CPieceTable::KeepSavedOverList(std::vector<CPiece*> oldList) {
    if (!m_history) {
        COwnedPieces dropped;
        dropped.m_pieces = std::move(oldList);
        return;
    }
    if (m_history->KeepSavedOverList(std::move(oldList)))
        m_nSavedState = m_history->OpenId(); // unless the step changes more before it ends
}
