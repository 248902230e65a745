#include "storage/CPieceHistory.h"

namespace {
bool Needs(const CHistoryStep& step, std::uint64_t serial) {
    bool needs = false;
    step.m_change.ForEachHeldFilePiece(
        [&](const CPiece& piece) { needs = needs || piece.m_source->FileSerial() == serial; });
    return needs;
}

int RealSteps(const std::vector<CHistoryStep>& steps) {
    int count = 0;
    for (const CHistoryStep& step : steps)
        count += step.m_bSavePoint ? 0 : 1;
    return count;
}
} // namespace

std::uint64_t CPieceHistory::TopRealStep(const std::vector<CHistoryStep>& steps) {
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        if (!it->m_bSavePoint)
            return it->m_nId;
    return 0;
}

std::uint64_t CPieceHistory::BeginStep() {
    if (m_nOpenDepth == 0) {
        // Room for the step when it closes, so closing cannot fail; grown by
        // doubling, as typing closes a step per key.
        if (m_undo.size() == m_undo.capacity())
            m_undo.reserve(2 * m_undo.size() + 8);
        m_open.m_change.Clear();
        m_open.m_nId = ++m_nLastId;
    }
    ++m_nOpenDepth;
    return m_open.m_nId;
}

void CPieceHistory::EndStep() {
    if (m_nOpenDepth == 0 || --m_nOpenDepth > 0)
        return;
    if (m_open.m_change.IsEmpty())
        return;                          // nothing changed: no step
    m_undo.push_back(std::move(m_open)); // room was made when the step began
    m_open = CHistoryStep();
    ++m_nUndoSteps;
}

void CPieceHistory::ForgetRedo() {
    m_redo.clear();
    m_nRedoSteps = 0;
}

void CPieceHistory::Clear() {
    m_undo.clear();
    m_redo.clear();
    m_open.m_change.Clear();
    m_nUndoSteps = 0;
    m_nRedoSteps = 0;
}

std::uint64_t CPieceHistory::Undo(CPieceList& list, CContentChanges* made) {
    if (!CanUndo())
        return 0;
    m_redo.reserve(m_redo.size() + m_undo.size());
    for (;;) {
        CHistoryStep& step = m_undo.back();
        const CContentChanges& changes = step.m_change.ContentChanges();
        if (made) // room first: nothing may fail once the step is reverted
            made->reserve(made->size() + changes.size());
        step.m_change.Revert(list);
        if (made)
            for (auto it = changes.rbegin(); it != changes.rend(); ++it)
                made->push_back({it->m_nOffset, it->m_nInserted, it->m_nRemoved});
        const bool real = !step.m_bSavePoint;
        const std::uint64_t id = step.m_nId;
        m_redo.push_back(std::move(step));
        m_undo.pop_back();
        if (real) {
            --m_nUndoSteps;
            ++m_nRedoSteps;
            // Back over the way to the steps to redo, so the list at rest is
            // the saved one (which a save in place needs).
            while (!m_undo.empty() && m_undo.back().m_bReturn) {
                m_undo.back().m_change.Revert(list);
                m_redo.push_back(std::move(m_undo.back()));
                m_undo.pop_back();
            }
            return id;
        }
    }
}

std::uint64_t CPieceHistory::Redo(CPieceList& list, CContentChanges* made) {
    if (!CanRedo())
        return 0;
    m_undo.reserve(m_undo.size() + m_redo.size());
    for (;;) {
        CHistoryStep& step = m_redo.back();
        const CContentChanges& changes = step.m_change.ContentChanges();
        if (made)
            made->reserve(made->size() + changes.size());
        step.m_change.Apply(list);
        if (made)
            made->insert(made->end(), changes.begin(), changes.end());
        const bool real = !step.m_bSavePoint;
        const std::uint64_t id = step.m_nId;
        m_undo.push_back(std::move(step));
        m_redo.pop_back();
        if (real) {
            --m_nRedoSteps;
            ++m_nUndoSteps;
            // Over the save that followed, to rest on the saved list.
            while (!m_redo.empty() && m_redo.back().m_bSavePoint && !m_redo.back().m_bReturn) {
                m_redo.back().m_change.Apply(list);
                m_undo.push_back(std::move(m_redo.back()));
                m_redo.pop_back();
            }
            return id;
        }
    }
}

bool CPieceHistory::KeepSavedOverList(std::vector<CPiece*> oldList) {
    auto swap = std::make_shared<COwnedPieces>();
    swap->m_pieces = std::move(oldList); // deleted with `swap` unless kept below
    if (m_nOpenDepth > 0 && !m_open.m_change.IsEmpty()) {
        // Saved in the middle of a step (a long replace): undoing the step
        // crosses the save first.
        m_open.m_change.KeepSwap(std::move(swap));
        return true;
    }
    if (m_undo.empty() && m_redo.empty())
        return false;
    // A save point: undo crosses it back to the list the steps before it were
    // recorded on. Steps still to redo were recorded on that list too, so the
    // same exchange is crossed first on their side.
    const auto savePoint = [&](bool isReturn) {
        CHistoryStep point;
        point.m_bReturn = isReturn;
        point.m_nId = ++m_nLastId;
        point.m_bSavePoint = true;
        point.m_change.KeepSwap(swap);
        return point;
    };
    if (!m_redo.empty())
        m_redo.push_back(savePoint(true));
    m_undo.push_back(savePoint(false));
    return false;
}

bool CPieceHistory::DropStepsNeeding(std::uint64_t serial, std::uint64_t* baseState) {
    // Undo: the steps up to the newest that needs the file, since each one
    // above was recorded on what those left. The plain save points then left
    // at the bottom are never crossed again.
    size_t undoCut = 0;
    for (size_t i = 0; i < m_undo.size(); ++i)
        if (Needs(m_undo[i], serial))
            undoCut = i + 1;
    while (undoCut > 0 && undoCut < m_undo.size() && m_undo[undoCut].m_bSavePoint &&
           !m_undo[undoCut].m_bReturn)
        ++undoCut;
    // Redo: the steps from the farthest one down to the last that needs it.
    size_t redoCut = 0;
    for (size_t i = 0; i < m_redo.size(); ++i)
        if (Needs(m_redo[i], serial))
            redoCut = i + 1;
    if (undoCut == 0 && redoCut == 0)
        return false;

    // The content the remaining steps start from is the one the last dropped
    // step left, so it keeps that step's id (and with it the saved flag).
    for (size_t i = 0; i < undoCut; ++i)
        if (!m_undo[i].m_bSavePoint)
            *baseState = m_undo[i].m_nId;
    m_undo.erase(m_undo.begin(), m_undo.begin() + static_cast<std::ptrdiff_t>(undoCut));
    m_redo.erase(m_redo.begin(), m_redo.begin() + static_cast<std::ptrdiff_t>(redoCut));
    m_nUndoSteps = RealSteps(m_undo);
    m_nRedoSteps = RealSteps(m_redo);
    return true;
}
