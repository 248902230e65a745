#include "storage/CPieceChange.h"

#include <cassert>
#include <cstring>

namespace {
// A removal of more than one piece keeps their starts, so putting them back
// needs no pass over them.
constexpr size_t kManyPieces = 2;

// Whether `then` starts within or right beside what `first` left.
bool Touches(const CContentChange& first, const CContentChange& then) {
    return then.m_nOffset >= first.m_nOffset &&
           then.m_nOffset <= first.m_nOffset + first.m_nInserted;
}
} // namespace

CPieceChangeEntry& CPieceChange::Record(CPieceChangeEntry::Kind kind, size_t index) {
    CPieceChangeEntry& entry = m_entries.emplace_back();
    entry.m_kind = kind;
    entry.m_index = index;
    return entry;
}

void CPieceChange::InsertPiece(CPieceList& list, size_t index, PiecePtr piece, std::int64_t start) {
    CPieceChangeEntry* entry =
        m_bKeeps ? &Record(CPieceChangeEntry::kReplacePieces, index) : nullptr;
    try {
        list.m_starts.insert(list.m_starts.begin() + static_cast<std::ptrdiff_t>(index), start);
        try {
            list.m_pieces.insert(list.m_pieces.begin() + static_cast<std::ptrdiff_t>(index),
                                 piece.get());
        } catch (...) {
            list.m_starts.erase(list.m_starts.begin() + static_cast<std::ptrdiff_t>(index));
            throw;
        }
    } catch (...) {
        if (entry)
            m_entries.pop_back();
        throw;
    }
    piece.release();
    if (entry)
        entry->m_count = 1;
}

size_t CPieceChange::SplitPiece(CPieceList& list, size_t index, std::int64_t keep, PiecePtr middle,
                                std::int64_t middleStart, PiecePtr tail, std::int64_t tailStart) {
    std::vector<CPiece*>& pieces = list.m_pieces;
    // Room first, so nothing below can fail half-way; grown by doubling, as
    // reserving only what is needed would copy the arrays on every split.
    if (pieces.capacity() < pieces.size() + 2) {
        pieces.reserve(2 * pieces.size() + 2);
        list.m_starts.reserve(2 * pieces.size() + 2);
    }
    CPieceChangeEntry* entry = nullptr;
    if (m_bKeeps) { // the cut piece is kept, a copy stays
        entry = &Record(CPieceChangeEntry::kReplacePieces, index);
        try {
            entry->m_other.m_pieces.reserve(1);
            if (keep > 0) {
                auto copy = std::make_unique<CPiece>(*pieces[index]);
                entry->m_other.m_pieces.push_back(pieces[index]);
                pieces[index] = copy.release();
            }
        } catch (...) {
            m_entries.pop_back();
            throw;
        }
    }
    CPiece* added[2];
    std::int64_t addedStarts[2];
    size_t count = 0;
    size_t middleIndex = index;
    if (keep > 0) {
        pieces[index]->m_nLength = keep;
        added[count] = middle.release();
        addedStarts[count++] = middleStart;
        middleIndex = index + 1;
    } else { // the emptied piece goes: the middle takes its place
        if (entry)
            entry->m_other.m_pieces.push_back(pieces[index]);
        else
            delete pieces[index];
        pieces[index] = middle.release();
        list.m_starts[index] = middleStart;
    }
    if (tail) {
        added[count] = tail.release();
        addedStarts[count++] = tailStart;
    }
    const auto at = static_cast<std::ptrdiff_t>(index + 1);
    list.m_starts.insert(list.m_starts.begin() + at, addedStarts, addedStarts + count);
    pieces.insert(pieces.begin() + at, added, added + count);
    if (entry)
        entry->m_count = static_cast<std::int64_t>(count) + 1; // the piece at index, then the added
    return middleIndex;
}

void CPieceChange::RemovePieces(CPieceList& list, size_t index, size_t count) {
    if (count == 0)
        return;
    const auto from = list.m_pieces.begin() + static_cast<std::ptrdiff_t>(index);
    const auto to = from + static_cast<std::ptrdiff_t>(count);
    const auto starts = list.m_starts.begin() + static_cast<std::ptrdiff_t>(index);
    if (m_bKeeps) {
        CPieceChangeEntry& entry = Record(CPieceChangeEntry::kReplacePieces, index);
        try {
            entry.m_other.m_pieces.assign(from, to);
            if (count >= kManyPieces) {
                entry.m_removedStarts.assign(starts, starts + static_cast<std::ptrdiff_t>(count));
                for (std::int64_t& start : entry.m_removedStarts)
                    start -= list.m_starts[index];
            }
        } catch (...) {
            entry.m_other.m_pieces.clear(); // still in the list
            m_entries.pop_back();
            throw;
        }
    } else {
        for (auto it = from; it != to; ++it)
            delete *it;
    }
    list.m_pieces.erase(from, to);
    list.m_starts.erase(starts, starts + static_cast<std::ptrdiff_t>(count));
}

bool CPieceChange::DropIfEmpty(CPieceList& list, size_t index) {
    if (list.m_pieces[index]->m_nLength != 0 || list.m_pieces.size() <= 1)
        return false;
    RemovePieces(list, index, 1);
    return true;
}

CPiece& CPieceChange::Modifiable(CPieceList& list, size_t index) {
    CPiece*& slot = list.m_pieces[index];
    if (!m_bKeeps)
        return *slot;
    assert(slot->m_bFromFile); // memory pieces change through their bytes
    auto copy = std::make_unique<CPiece>(*slot);
    CPieceChangeEntry& entry = Record(CPieceChangeEntry::kReplacePieces, index);
    try {
        entry.m_other.m_pieces.push_back(slot);
    } catch (...) {
        m_entries.pop_back();
        throw;
    }
    entry.m_count = 1;
    slot = copy.release();
    return *slot;
}

void CPieceChange::KeepBytes(size_t index, std::int64_t rel, const std::uint8_t* at,
                             std::int64_t count) {
    // A run of typing extends the entry of the byte before it.
    CPieceChangeEntry* entry = m_entries.empty() ? nullptr : &m_entries.back();
    if (!entry || entry->m_kind != CPieceChangeEntry::kWriteBytes || entry->m_index != index ||
        entry->m_rel + static_cast<std::int64_t>(entry->m_bytes.size()) != rel) {
        entry = &Record(CPieceChangeEntry::kWriteBytes, index);
        entry->m_rel = rel;
    }
    entry->m_bytes.insert(entry->m_bytes.end(), at, at + count);
}

void CPieceChange::InsertBytes(CPieceList& list, size_t index, std::int64_t rel, std::int64_t count,
                               std::uint8_t value) {
    CPiece& piece = *list.m_pieces[index];
    CPieceChangeEntry* entry = m_bKeeps ? &Record(CPieceChangeEntry::kInsertBytes, index) : nullptr;
    try {
        piece.m_data.insert(piece.m_data.begin() + static_cast<std::ptrdiff_t>(rel),
                            static_cast<size_t>(count), value);
    } catch (...) {
        if (entry)
            m_entries.pop_back();
        throw;
    }
    piece.m_nLength += count;
    if (entry) {
        entry->m_rel = rel;
        entry->m_count = count;
        entry->m_value = value;
    }
}

void CPieceChange::EraseBytes(CPieceList& list, size_t index, std::int64_t rel,
                              std::int64_t count) {
    CPiece& piece = *list.m_pieces[index];
    const auto from = piece.m_data.begin() + static_cast<std::ptrdiff_t>(rel);
    const auto to = from + static_cast<std::ptrdiff_t>(count);
    if (m_bKeeps) {
        CPieceChangeEntry& entry = Record(CPieceChangeEntry::kEraseBytes, index);
        try {
            entry.m_bytes.assign(from, to);
        } catch (...) {
            m_entries.pop_back();
            throw;
        }
        entry.m_rel = rel;
    }
    piece.m_data.erase(from, to);
    piece.m_nLength -= count;
}

void CPieceChange::KeepSwap(std::shared_ptr<COwnedPieces> swap) {
    Record(CPieceChangeEntry::kSaveSwap, 0).m_swap = std::move(swap);
}

void CPieceChange::AddContentChange(const CContentChange& change) {
    if (!m_changes.empty() &&
        (m_changes.size() >= kMostChanges || Touches(m_changes.back(), change)))
        m_changes.back() = CContentChange::Covering(m_changes.back(), change);
    else
        m_changes.push_back(change);
}

void CPieceChange::RevertSince(CPieceList& list, size_t mark) {
    CPieceList::CChangedRange changed{list.m_pieces.size(), list.m_pieces.size()};
    for (size_t i = m_entries.size(); i-- > mark;)
        RunEntry(list, m_entries[i], true, changed);
    list.RecomputeStarts(changed);
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(mark), m_entries.end());
}

void CPieceChange::Run(CPieceList& list, bool undo) {
    // Only the pieces between the first and the last one changed are
    // renumbered one by one; those after them keep their starts, shifted.
    CPieceList::CChangedRange changed{list.m_pieces.size(), list.m_pieces.size()};
    if (undo) {
        for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it)
            RunEntry(list, *it, true, changed);
    } else {
        for (CPieceChangeEntry& entry : m_entries)
            RunEntry(list, entry, false, changed);
    }
    list.RecomputeStarts(changed);
}

void CPieceChange::RunEntry(CPieceList& list, CPieceChangeEntry& entry, bool undo,
                            CPieceList::CChangedRange& changed) {
    std::vector<CPiece*>& pieces = list.m_pieces;
    std::vector<std::int64_t>& starts = list.m_starts;
    changed.m_first = std::min(changed.m_first, entry.m_index);
    size_t changedCount = 1;
    // A run put back earlier in this change stays usable while nothing changes
    // lengths inside it; a change of piece count before it moves it.
    bool shiftRun = false;
    if (changed.m_runEnd > changed.m_runBegin && entry.m_index < changed.m_runEnd) {
        if (entry.m_kind == CPieceChangeEntry::kReplacePieces &&
            entry.m_index + static_cast<size_t>(entry.m_count) <= changed.m_runBegin)
            shiftRun = true;
        else if (entry.m_kind != CPieceChangeEntry::kWriteBytes &&
                 (entry.m_kind == CPieceChangeEntry::kReplacePieces ||
                  entry.m_kind == CPieceChangeEntry::kSaveSwap ||
                  entry.m_index >= changed.m_runBegin))
            changed.m_runBegin = changed.m_runEnd = 0;
    }
    switch (entry.m_kind) {
    case CPieceChangeEntry::kReplacePieces: {
        // The same exchange both ways: the pieces in the list and those held swap.
        const auto at = pieces.begin() + static_cast<std::ptrdiff_t>(entry.m_index);
        std::vector<CPiece*> taken(at, at + static_cast<std::ptrdiff_t>(entry.m_count));
        std::vector<CPiece*>& held = entry.m_other.m_pieces;
        if (taken.size() == held.size()) {
            std::copy(held.begin(), held.end(), at);
        } else {
            // The starts move along, so those after the change stay with their pieces.
            const auto index = static_cast<std::ptrdiff_t>(entry.m_index);
            const auto count = static_cast<std::ptrdiff_t>(entry.m_count);
            pieces.erase(at, at + count);
            pieces.insert(pieces.begin() + index, held.begin(), held.end());
            starts.erase(starts.begin() + index, starts.begin() + index + count);
            starts.insert(starts.begin() + index, held.size(), 0);
        }
        changedCount = held.size();
        if (shiftRun) {
            changed.m_runBegin = changed.m_runBegin + held.size() - taken.size();
            changed.m_runEnd = changed.m_runEnd + held.size() - taken.size();
        }
        if (!entry.m_removedStarts.empty()) {
            if (entry.m_bHoldsRemoved && held.size() == entry.m_removedStarts.size()) {
                std::copy(entry.m_removedStarts.begin(), entry.m_removedStarts.end(),
                          starts.begin() + static_cast<std::ptrdiff_t>(entry.m_index));
                changed.m_runBegin = entry.m_index;
                changed.m_runEnd = entry.m_index + held.size();
            }
            entry.m_bHoldsRemoved = !entry.m_bHoldsRemoved;
        }
        entry.m_count = static_cast<std::int64_t>(held.size());
        held = std::move(taken);
        break;
    }
    case CPieceChangeEntry::kWriteBytes: {
        std::uint8_t* at = pieces[entry.m_index]->m_data.data() + entry.m_rel;
        std::swap_ranges(entry.m_bytes.begin(), entry.m_bytes.end(), at);
        break;
    }
    case CPieceChangeEntry::kInsertBytes:
    case CPieceChangeEntry::kEraseBytes: {
        CPiece& piece = *pieces[entry.m_index];
        const bool inserted = entry.m_kind == CPieceChangeEntry::kInsertBytes;
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
    case CPieceChangeEntry::kSaveSwap:
        std::swap(pieces, entry.m_swap->m_pieces);
        starts.resize(pieces.size());
        changed.m_first = 0;
        changed.m_keptAtEnd = 0;
        return;
    }
    changed.m_keptAtEnd =
        std::min(changed.m_keptAtEnd, pieces.size() - (entry.m_index + changedCount));
}
