// The undo history of a piece table: steps, each one change to the piece
// list (CPieceChange), on an undo and a redo stack. The table's edits record
// into the open step's change; undo reverts a step's change and redo applies
// it again, each on the list it is given. A save is a step of its own (a
// save point) that exchanges the whole list.
#pragma once

#include "storage/CPieceChange.h"

#include <cstdint>
#include <vector>

struct CHistoryStep {
    std::uint64_t m_nId = 0;
    bool m_bSavePoint = false; // no content change: crossed silently by undo and redo
    bool m_bReturn = false;    // a save point's way back to the list of the steps to redo
    CPieceChange m_change;
};

class CPieceHistory {
public:
    // Step ids come from `lastId`, the counter the table's states share.
    explicit CPieceHistory(std::uint64_t& lastId) : m_nLastId(lastId) {}

    // Steps nest; the outermost one's id is returned and recorded.
    std::uint64_t BeginStep();
    // Closing the outermost step keeps it, unless nothing was recorded.
    void EndStep();
    bool IsStepOpen() const { return m_nOpenDepth > 0; }
    // The open step's id, or 0.
    std::uint64_t OpenId() const { return m_nOpenDepth > 0 ? m_open.m_nId : 0; }
    // What edits record into while a step is open.
    CPieceChange& Open() { return m_open.m_change; }
    const CPieceChange& Open() const { return m_open.m_change; }
    // After each edit recorded into the open step: once it holds anything,
    // what was undone can no longer be redone.
    void AfterEdit() {
        if (!m_redo.empty() && !m_open.m_change.IsEmpty())
            ForgetRedo();
    }
    // No step kept, and nothing recorded in the open one.
    bool IsEmpty() const { return m_undo.empty() && m_redo.empty() && m_open.m_change.IsEmpty(); }

    bool CanUndo() const { return m_nUndoSteps > 0 && m_nOpenDepth == 0; }
    bool CanRedo() const { return m_nRedoSteps > 0 && m_nOpenDepth == 0; }
    int GetUndoCount() const { return m_nUndoSteps; }
    int GetRedoCount() const { return m_nRedoSteps; }
    // The id of the newest real step on each stack, 0 when there is none.
    std::uint64_t TopUndoId() const { return TopRealStep(m_undo); }
    std::uint64_t TopRedoId() const { return TopRealStep(m_redo); }
    // Undo or redo one step on `list`; return its id, or 0 when there was
    // none. `made` (may be null) gets the changes to the content, in the order
    // made.
    std::uint64_t Undo(CPieceList& list, CContentChanges* made);
    std::uint64_t Redo(CPieceList& list, CContentChanges* made);
    // Drops every step and what the open one recorded.
    void Clear();

    // A save replaced the whole list; `oldList` is the one it replaced. Kept
    // while a step may need it; true when the open step holds it (the saved
    // content is that step's unless it changes more).
    bool KeepSavedOverList(std::vector<CPiece*> oldList);
    // Every file piece held, with whether the open step holds it.
    template <typename Visit> void ForEachHeldFilePiece(Visit visit) const {
        m_open.m_change.ForEachHeldFilePiece([&](const CPiece& piece) { visit(piece, true); });
        for (const auto* stack : {&m_undo, &m_redo})
            for (const CHistoryStep& step : *stack)
                step.m_change.ForEachHeldFilePiece(
                    [&](const CPiece& piece) { visit(piece, false); });
    }
    // Drops the steps that need the file `serial` names, with every step
    // older than them. Returns false when none went; else `baseState` gets the
    // id of the newest real step dropped from the undo side, if any.
    bool DropStepsNeeding(std::uint64_t serial, std::uint64_t* baseState);

private:
    static std::uint64_t TopRealStep(const std::vector<CHistoryStep>& steps);
    void ForgetRedo();

    std::uint64_t& m_nLastId;
    std::vector<CHistoryStep> m_undo;
    std::vector<CHistoryStep> m_redo;
    int m_nUndoSteps = 0; // real steps (not save points) in each stack
    int m_nRedoSteps = 0;
    int m_nOpenDepth = 0;
    CHistoryStep m_open; // the step being recorded
};
