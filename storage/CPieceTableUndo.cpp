// Undo and redo for the piece table. While a step is open, every change to the
// list is recorded as a reversible entry: pieces that leave the list move into
// the entry, and bytes cut out of a memory block are kept. Reverting the
// entries in reverse order gives back the very list, piece for piece.
#include "storage/CPieceHistory.h"
#include "storage/CPieceTable.h"
#include "storage/PieceListCheck.h"

#include <algorithm>
#include <cassert>
#include <cstring>

namespace {
// Whether `then` starts within or right beside what `first` left.
bool Touches(const CContentChange& first, const CContentChange& then) {
    return then.m_nOffset >= first.m_nOffset &&
           then.m_nOffset <= first.m_nOffset + first.m_nInserted;
}

std::uint64_t TopRealStep(const std::vector<CHistoryStep>& steps) {
    for (auto it = steps.rbegin(); it != steps.rend(); ++it)
        if (!it->m_bSavePoint)
            return it->m_nId;
    return 0;
}
} // namespace

void CPieceTable::EnableHistory(bool enable) {
    if (enable && !m_history) {
        m_history = std::make_unique<CPieceHistory>();
    } else if (!enable && m_history) {
        ClearHistory();
        m_history.reset();
        m_bRecording = false;
    }
}

void CPieceTable::ClearHistory() {
    if (!m_history)
        return;
    m_nBaseState = GetStateId(); // the content stays; so does whether it is the saved one
    m_history->m_undo.clear();
    m_history->m_redo.clear();
    m_history->m_open.m_entries.clear();
    m_history->m_open.m_changes.clear();
    m_pLastChange = nullptr;
    m_history->m_nUndoSteps = 0;
    m_history->m_nRedoSteps = 0;
}

std::uint64_t CPieceTable::GetStateId() const {
    if (m_history) {
        if (const std::uint64_t top = TopRealStep(m_history->m_undo))
            return top;
    }
    return m_nBaseState;
}

bool CPieceTable::CanUndo() const {
    return m_history && m_history->m_nUndoSteps > 0 && m_history->m_nOpenDepth == 0;
}

bool CPieceTable::CanRedo() const {
    return m_history && m_history->m_nRedoSteps > 0 && m_history->m_nOpenDepth == 0;
}

int CPieceTable::GetUndoCount() const {
    return m_history ? m_history->m_nUndoSteps : 0;
}

int CPieceTable::GetRedoCount() const {
    return m_history ? m_history->m_nRedoSteps : 0;
}

std::uint64_t CPieceTable::GetUndoStepId() const {
    return CanUndo() ? TopRealStep(m_history->m_undo) : 0;
}

std::uint64_t CPieceTable::GetRedoStepId() const {
    return CanRedo() ? TopRealStep(m_history->m_redo) : 0;
}

std::uint64_t CPieceTable::BeginStep() {
    if (!m_history)
        return 0;
    if (m_history->m_nOpenDepth++ == 0) {
        m_bRecording = true;
        m_pLastChange = nullptr;
        m_history->m_open = CHistoryStep();
        m_history->m_open.m_nId = ++m_nLastId;
    }
    return m_history->m_open.m_nId;
}

void CPieceTable::EndStep() {
    if (!m_history || m_history->m_nOpenDepth == 0)
        return;
    if (--m_history->m_nOpenDepth > 0)
        return;
    m_bRecording = false;
    m_pLastChange = nullptr;
    CHistoryStep& open = m_history->m_open;
    if (open.m_entries.empty())
        return; // nothing changed: no step
    // Reserved before the first entry was recorded (see Record), so this cannot fail.
    m_history->m_undo.push_back(std::move(open));
    ++m_history->m_nUndoSteps;
}

void CPieceTable::BeginRecordedEdit() {
    m_bAutoStep = m_history->m_nOpenDepth == 0;
    if (m_bAutoStep)
        BeginStep();
}

void CPieceTable::EndAutoStep() {
    m_bAutoStep = false;
    EndStep();
}

CHistoryEntry& CPieceTable::Record(int kind, size_t index) {
    CPieceHistory& history = *m_history;
    std::vector<CHistoryEntry>& entries = history.m_open.m_entries;
    if (m_nSavedState == history.m_open.m_nId)
        m_nSavedState = kNoState; // changed again after a save inside this step
    if (entries.empty()) {
        // The first change of a step: what was undone can no longer be redone,
        // and the step must find room in the stack when it closes.
        history.m_redo.clear();
        history.m_nRedoSteps = 0;
        history.m_undo.reserve(history.m_undo.size() + 1);
    }
    entries.emplace_back();
    CHistoryEntry& entry = entries.back();
    entry.m_kind = static_cast<CHistoryEntry::Kind>(kind);
    entry.m_index = index;
    return entry;
}

CPiece& CPieceTable::Modifiable(size_t index) {
    if (!Recording())
        return *m_pieces[index];
    assert(m_pieces[index]->m_bFromFile); // memory pieces change through their bytes
    auto copy = std::make_unique<CPiece>(*m_pieces[index]);
    CHistoryEntry& entry = Record(CHistoryEntry::kReplacePieces, index);
    entry.m_other.m_pieces.push_back(m_pieces[index]);
    entry.m_count = 1;
    m_pieces[index] = copy.release();
    return *m_pieces[index];
}

void CPieceTable::RecordWrite(size_t index, std::int64_t rel, std::int64_t count) {
    const std::uint8_t* at = m_pieces[index]->m_data.data() + rel;
    {
        // A run of typing extends the entry of the byte before it.
        auto& entries = m_history->m_open.m_entries;
        CHistoryEntry* entry = nullptr;
        if (!entries.empty()) {
            CHistoryEntry& lastEntry = entries.back();
            if (lastEntry.m_kind == CHistoryEntry::kWriteBytes && lastEntry.m_index == index &&
                lastEntry.m_rel + static_cast<std::int64_t>(lastEntry.m_bytes.size()) == rel)
                entry = &lastEntry;
        }
        if (!entry) {
            entry = &Record(CHistoryEntry::kWriteBytes, index);
            entry->m_rel = rel;
        }
        entry->m_bytes.insert(entry->m_bytes.end(), at, at + count);
    }
}

void CPieceTable::InsertBytes(size_t index, std::int64_t rel, std::int64_t count,
                              std::uint8_t value) {
    CPiece& piece = *m_pieces[index];
    CHistoryEntry* entry = Recording() ? &Record(CHistoryEntry::kInsertBytes, index) : nullptr;
    piece.m_data.insert(piece.m_data.begin() + static_cast<std::ptrdiff_t>(rel),
                        static_cast<size_t>(count), value);
    piece.m_nLength += count;
    if (entry) {
        entry->m_rel = rel;
        entry->m_count = count;
        entry->m_value = value;
    }
}

void CPieceTable::EraseBytes(size_t index, std::int64_t rel, std::int64_t count) {
    CPiece& piece = *m_pieces[index];
    const auto from = piece.m_data.begin() + static_cast<std::ptrdiff_t>(rel);
    const auto to = from + static_cast<std::ptrdiff_t>(count);
    if (Recording()) {
        CHistoryEntry& entry = Record(CHistoryEntry::kEraseBytes, index);
        entry.m_bytes.assign(from, to);
        entry.m_rel = rel;
    }
    piece.m_data.erase(from, to);
    piece.m_nLength -= count;
}

void CPieceTable::AddChangeToStep(const CContentChange& change) {
    CContentChanges& changes = m_history->m_open.m_changes;
    // A run of typing or a replace-all makes many small changes; beyond a
    // handful they are told as one change covering them all, which keeps a
    // step's cost that of its pieces.
    constexpr size_t kMostChanges = 16;
    if (!changes.empty() && (changes.size() >= kMostChanges || Touches(changes.back(), change)))
        changes.back() = CContentChange::Covering(changes.back(), change);
    else
        changes.push_back(change);
    m_pLastChange = &changes.back();
}

std::uint64_t CPieceTable::Undo(CContentChanges* made) {
    if (!CanUndo())
        return 0;
    const EditCheck check(*this);
    CPieceHistory& history = *m_history;
    history.m_redo.reserve(history.m_redo.size() + history.m_undo.size());
    for (;;) {
        CHistoryStep& step = history.m_undo.back();
        if (made) // room first: nothing may fail once the step is applied
            made->reserve(made->size() + step.m_changes.size());
        ApplyStep(step, true);
        if (made)
            for (auto it = step.m_changes.rbegin(); it != step.m_changes.rend(); ++it)
                made->push_back({it->m_nOffset, it->m_nInserted, it->m_nRemoved});
        const bool real = !step.m_bSavePoint;
        const std::uint64_t id = step.m_nId;
        history.m_redo.push_back(std::move(step));
        history.m_undo.pop_back();
        if (real) {
            --history.m_nUndoSteps;
            ++history.m_nRedoSteps;
            // Back over the way to the steps to redo, so the list at rest is
            // the saved one (which a save in place needs).
            while (!history.m_undo.empty() && history.m_undo.back().m_bReturn) {
                ApplyStep(history.m_undo.back(), true);
                history.m_redo.push_back(std::move(history.m_undo.back()));
                history.m_undo.pop_back();
            }
            return id;
        }
    }
}

std::uint64_t CPieceTable::Redo(CContentChanges* made) {
    if (!CanRedo())
        return 0;
    const EditCheck check(*this);
    CPieceHistory& history = *m_history;
    history.m_undo.reserve(history.m_undo.size() + history.m_redo.size());
    for (;;) {
        CHistoryStep& step = history.m_redo.back();
        if (made)
            made->reserve(made->size() + step.m_changes.size());
        ApplyStep(step, false);
        if (made)
            made->insert(made->end(), step.m_changes.begin(), step.m_changes.end());
        const bool real = !step.m_bSavePoint;
        const std::uint64_t id = step.m_nId;
        history.m_undo.push_back(std::move(step));
        history.m_redo.pop_back();
        if (real) {
            --history.m_nRedoSteps;
            ++history.m_nUndoSteps;
            // Over the save that followed, to rest on the saved list.
            while (!history.m_redo.empty() && history.m_redo.back().m_bSavePoint &&
                   !history.m_redo.back().m_bReturn) {
                ApplyStep(history.m_redo.back(), false);
                history.m_undo.push_back(std::move(history.m_redo.back()));
                history.m_redo.pop_back();
            }
            return id;
        }
    }
}

void CPieceTable::ApplyStep(CHistoryStep& step, bool undo) {
    // Only the pieces between the first and the last one changed are
    // renumbered one by one; those after them keep their starts, shifted.
    CChangedRange changed{m_pieces.size(), m_pieces.size()};
    if (undo) {
        for (auto it = step.m_entries.rbegin(); it != step.m_entries.rend(); ++it)
            ApplyEntry(*it, true, changed);
    } else {
        for (CHistoryEntry& entry : step.m_entries)
            ApplyEntry(entry, false, changed);
    }
    RecomputeStarts(changed);
}

void CPieceTable::ApplyEntry(CHistoryEntry& entry, bool undo, CChangedRange& changed) {
    changed.m_first = std::min(changed.m_first, entry.m_index);
    size_t changedCount = 1;
    // A run put back earlier in this step stays usable while nothing changes
    // lengths inside it; a change of piece count before it moves it.
    bool shiftRun = false;
    if (changed.m_runEnd > changed.m_runBegin && entry.m_index < changed.m_runEnd) {
        if (entry.m_kind == CHistoryEntry::kReplacePieces &&
            entry.m_index + static_cast<size_t>(entry.m_count) <= changed.m_runBegin)
            shiftRun = true;
        else if (entry.m_kind != CHistoryEntry::kWriteBytes &&
                 (entry.m_kind == CHistoryEntry::kReplacePieces ||
                  entry.m_kind == CHistoryEntry::kSaveSwap || entry.m_index >= changed.m_runBegin))
            changed.m_runBegin = changed.m_runEnd = 0;
    }
    switch (entry.m_kind) {
    case CHistoryEntry::kReplacePieces: {
        // The same exchange both ways: the pieces in the list and those held swap.
        const auto at = m_pieces.begin() + static_cast<std::ptrdiff_t>(entry.m_index);
        std::vector<CPiece*> taken(at, at + static_cast<std::ptrdiff_t>(entry.m_count));
        std::vector<CPiece*>& held = entry.m_other.m_pieces;
        if (taken.size() == held.size()) {
            std::copy(held.begin(), held.end(), at);
        } else {
            // The starts move along, so those after the change stay with their pieces.
            const auto index = static_cast<std::ptrdiff_t>(entry.m_index);
            const auto count = static_cast<std::ptrdiff_t>(entry.m_count);
            m_pieces.erase(at, at + count);
            m_pieces.insert(m_pieces.begin() + index, held.begin(), held.end());
            m_pieceStarts.erase(m_pieceStarts.begin() + index,
                                m_pieceStarts.begin() + index + count);
            m_pieceStarts.insert(m_pieceStarts.begin() + index, held.size(), 0);
        }
        changedCount = held.size();
        if (shiftRun) {
            changed.m_runBegin = changed.m_runBegin + held.size() - taken.size();
            changed.m_runEnd = changed.m_runEnd + held.size() - taken.size();
        }
        if (!entry.m_removedStarts.empty()) {
            if (entry.m_bHoldsRemoved && held.size() == entry.m_removedStarts.size()) {
                std::copy(entry.m_removedStarts.begin(), entry.m_removedStarts.end(),
                          m_pieceStarts.begin() + static_cast<std::ptrdiff_t>(entry.m_index));
                changed.m_runBegin = entry.m_index;
                changed.m_runEnd = entry.m_index + held.size();
            }
            entry.m_bHoldsRemoved = !entry.m_bHoldsRemoved;
        }
        entry.m_count = static_cast<std::int64_t>(held.size());
        held = std::move(taken);
        break;
    }
    case CHistoryEntry::kWriteBytes: {
        std::uint8_t* at = m_pieces[entry.m_index]->m_data.data() + entry.m_rel;
        std::swap_ranges(entry.m_bytes.begin(), entry.m_bytes.end(), at);
        break;
    }
    case CHistoryEntry::kInsertBytes:
    case CHistoryEntry::kEraseBytes: {
        CPiece& piece = *m_pieces[entry.m_index];
        const bool inserted = entry.m_kind == CHistoryEntry::kInsertBytes;
        const auto at = piece.m_data.begin() + static_cast<std::ptrdiff_t>(entry.m_rel);
        if (inserted == undo) { // take the bytes out
            const auto count =
                static_cast<std::ptrdiff_t>(inserted ? entry.m_count : entry.m_bytes.size());
            piece.m_data.erase(at, at + count);
        } else if (inserted) {
            piece.m_data.insert(at, static_cast<size_t>(entry.m_count), entry.m_value);
        } else {
            piece.m_data.insert(at, entry.m_bytes.begin(), entry.m_bytes.end());
        }
        piece.m_nLength = static_cast<std::int64_t>(piece.m_data.size());
        break;
    }
    case CHistoryEntry::kSaveSwap:
        std::swap(m_pieces, entry.m_swap->m_pieces);
        m_pieceStarts.resize(m_pieces.size());
        changed.m_first = 0;
        changed.m_keptAtEnd = 0;
        return;
    }
    changed.m_keptAtEnd =
        std::min(changed.m_keptAtEnd, m_pieces.size() - (entry.m_index + changedCount));
}

void CPieceTable::RecomputeStarts(const CChangedRange& changed) {
    const size_t size = m_pieces.size();
    const size_t first = std::min(changed.m_first, size - 1);
    const size_t keptFrom = std::max(first, size - std::min(changed.m_keptAtEnd, size));
    std::int64_t start = first == 0 ? 0 : m_pieceStarts[first - 1] + m_pieces[first - 1]->m_nLength;
    for (size_t i = first; i < keptFrom;) {
        if (i == changed.m_runBegin && changed.m_runBegin < changed.m_runEnd &&
            changed.m_runEnd <= keptFrom) {
            // Pieces put back hold their starts relative to the first of them.
            for (size_t j = i; j < changed.m_runEnd; ++j)
                m_pieceStarts[j] += start;
            i = changed.m_runEnd;
            start = m_pieceStarts[i - 1] + m_pieces[i - 1]->m_nLength;
            continue;
        }
        m_pieceStarts[i] = start;
        start += m_pieces[i]->m_nLength;
        ++i;
    }
    if (keptFrom < size)
        ShiftStarts(keptFrom, start - m_pieceStarts[keptFrom]);
    m_nTotalLength = m_pieceStarts[size - 1] + m_pieces[size - 1]->m_nLength;
}

void CPieceTable::KeepSavedOverList(std::vector<CPiece*> oldList) {
    CPieceHistory* history = m_history.get();
    if (history && history->m_nOpenDepth > 0 && !history->m_open.m_entries.empty()) {
        // Saved in the middle of a step (a long replace): undoing the step
        // crosses the save first. The saved content is this step's result
        // unless the step changes more before it ends.
        CHistoryEntry& entry = Record(CHistoryEntry::kSaveSwap, 0);
        entry.m_swap = std::make_shared<COwnedPieces>();
        entry.m_swap->m_pieces = std::move(oldList);
        m_nSavedState = history->m_open.m_nId;
        return;
    }
    if (!history || (history->m_undo.empty() && history->m_redo.empty())) {
        for (CPiece* piece : oldList)
            delete piece;
        return;
    }
    // A save point: undo crosses it back to the list the steps before it were
    // recorded on. Steps still to redo were recorded on that list too, so the
    // same exchange is crossed first on their side.
    auto swap = std::make_shared<COwnedPieces>();
    swap->m_pieces = std::move(oldList);
    const auto savePoint = [&](bool isReturn) {
        CHistoryStep point;
        point.m_bReturn = isReturn;
        point.m_nId = ++m_nLastId;
        point.m_bSavePoint = true;
        point.m_entries.emplace_back();
        point.m_entries.back().m_kind = CHistoryEntry::kSaveSwap;
        point.m_entries.back().m_swap = swap;
        return point;
    };
    if (!history->m_redo.empty())
        history->m_redo.push_back(savePoint(true));
    history->m_undo.push_back(savePoint(false));
}
