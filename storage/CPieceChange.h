// One change to the piece list: the entries that made it, in order, and what
// it did to the content. The table's edits make their changes to the list
// through it, and it keeps what each one replaced (pieces that leave the list
// move into it; bytes cut out of or written over in a memory block are
// copied), so it can revert them all and apply them again. A change that does
// not keep (history off) only makes them.
//
// Entries are reverted and applied strictly in order, so at each entry the
// list, and every memory block, is exactly as it was when it was recorded.
#pragma once

#include "storage/CPieceList.h"
#include "storage/ContentChange.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

// Pieces held outside the list, deleted with their holder.
class COwnedPieces {
public:
    COwnedPieces() = default;
    COwnedPieces(COwnedPieces&& other) noexcept : m_pieces(std::move(other.m_pieces)) {}
    COwnedPieces& operator=(COwnedPieces&& other) noexcept {
        std::swap(m_pieces, other.m_pieces);
        return *this;
    }
    ~COwnedPieces() {
        for (CPiece* piece : m_pieces)
            delete piece;
    }
    std::vector<CPiece*> m_pieces;
};

struct CPieceChangeEntry {
    enum Kind : std::uint8_t {
        kReplacePieces, // m_count pieces at m_index stand where m_other's pieces stood
        kWriteBytes,    // m_bytes are the other side's bytes at m_rel of piece m_index
        kInsertBytes,   // m_count bytes of m_value inserted at m_rel of piece m_index
        kEraseBytes,    // m_bytes erased at m_rel of piece m_index
        kSaveSwap,      // a save replaced the whole list; m_swap holds the other one
    };
    Kind m_kind = kReplacePieces;
    std::uint8_t m_value = 0;
    size_t m_index = 0;
    std::int64_t m_rel = 0;
    std::int64_t m_count = 0;
    COwnedPieces m_other;
    std::vector<std::uint8_t> m_bytes;
    // kReplacePieces from a removal of many pieces: their starts, relative to
    // the first, so putting them back needs no pass over the pieces. Valid
    // whenever they come back, as they come back exactly as they left.
    std::vector<std::int64_t> m_removedStarts;
    bool m_bHoldsRemoved = true;
    // Shared by the two crossings of one save point (see CPieceHistory).
    std::shared_ptr<COwnedPieces> m_swap;
};

class CPieceChange {
public:
    explicit CPieceChange(bool keeps = true) : m_bKeeps(keeps) {}
    CPieceChange(CPieceChange&&) noexcept = default;
    CPieceChange& operator=(CPieceChange&&) noexcept = default;

    bool IsEmpty() const { return m_entries.empty(); }
    // Whether the last thing kept is a save's exchange of the whole list.
    bool EndsWithSave() const {
        return !m_entries.empty() && m_entries.back().m_kind == CPieceChangeEntry::kSaveSwap;
    }
    // What the change did to the content, in the order made.
    const CContentChanges& ContentChanges() const { return m_changes; }
    // Forgets everything kept, pieces included.
    void Clear() {
        m_entries.clear();
        m_changes.clear();
    }

    // Changes to the list, made at once. Each keeps its way back before it
    // changes anything, so the list stays whole when one fails.
    void InsertPiece(CPieceList& list, size_t index, PiecePtr piece, std::int64_t start);
    // Cuts piece `index` to `keep` bytes and puts `middle` and `tail` (may be
    // null) after it, in one shift of the arrays; a piece cut to nothing goes.
    // Returns the index of `middle`.
    size_t SplitPiece(CPieceList& list, size_t index, std::int64_t keep, PiecePtr middle,
                      std::int64_t middleStart, PiecePtr tail, std::int64_t tailStart);
    void RemovePieces(CPieceList& list, size_t index, size_t count);
    // Removes the piece if it became empty and is not the only one; returns
    // whether it was removed.
    bool DropIfEmpty(CPieceList& list, size_t index);
    // The file piece at `index`, about to change its fields: a kept change
    // holds the original and a copy takes its place.
    CPiece& Modifiable(CPieceList& list, size_t index);
    // Bytes of the memory piece at `index`.
    void Write(CPieceList& list, size_t index, std::int64_t rel, const std::uint8_t* in,
               std::int64_t count) {
        std::uint8_t* at = list.m_pieces[index]->m_data.data() + rel;
        if (m_bKeeps)
            KeepBytes(index, rel, at, count);
        std::memcpy(at, in, static_cast<size_t>(count));
    }
    void InsertBytes(CPieceList& list, size_t index, std::int64_t rel, std::int64_t count,
                     std::uint8_t value);
    void EraseBytes(CPieceList& list, size_t index, std::int64_t rel, std::int64_t count);
    // A save has put a new list in place; `swap` holds the one it replaced.
    void KeepSwap(std::shared_ptr<COwnedPieces> swap);

    // Room for one more note, made before an edit changes anything so that
    // noting it cannot fail.
    void ReserveNote() {
        if (m_changes.size() == m_changes.capacity() && m_changes.size() < kMostChanges)
            m_changes.reserve(m_changes.size() + 1);
    }
    // Notes what an edit did to the content.
    void NoteContent(const CContentChange& change) {
        if (!m_bKeeps || change.IsEmpty())
            return;
        // Typing: an overwrite inside or right after the last overwrite only
        // widens it (what Covering would give, without the call).
        if (!m_changes.empty()) {
            CContentChange& last = m_changes.back();
            if (change.m_nRemoved == change.m_nInserted && last.m_nRemoved == last.m_nInserted &&
                change.m_nOffset >= last.m_nOffset &&
                change.m_nOffset <= last.m_nOffset + last.m_nInserted) {
                const std::int64_t end = std::max(last.m_nOffset + last.m_nInserted,
                                                  change.m_nOffset + change.m_nInserted);
                last.m_nRemoved = last.m_nInserted = end - last.m_nOffset;
                return;
            }
        }
        AddContentChange(change);
    }

    // A point to come back to with RevertSince: what is kept so far.
    size_t Mark() const { return m_entries.size(); }
    // Reverts and forgets what was kept after `mark`, for an edit that failed
    // part-way (entries extended since are not reverted: only new ones).
    void RevertSince(CPieceList& list, size_t mark);

    // Puts the list back as it was before the change, or brings it to what
    // the change made again; each must follow the other.
    void Revert(CPieceList& list) { Run(list, true); }
    void Apply(CPieceList& list) { Run(list, false); }

    // Every file piece the change holds outside the list.
    template <typename Visit> void ForEachHeldFilePiece(Visit visit) const {
        for (const CPieceChangeEntry& entry : m_entries) {
            for (const CPiece* piece : entry.m_other.m_pieces)
                if (piece->m_bFromFile)
                    visit(*piece);
            if (entry.m_swap)
                for (const CPiece* piece : entry.m_swap->m_pieces)
                    if (piece->m_bFromFile)
                        visit(*piece);
        }
    }

private:
    // A run of typing or a replace-all makes many small changes; beyond a
    // handful they are told as one change covering them all, which keeps a
    // change's cost that of its pieces.
    static constexpr size_t kMostChanges = 16;

    CPieceChangeEntry& Record(CPieceChangeEntry::Kind kind, size_t index);
    // Keeps the bytes a write is about to replace.
    void KeepBytes(size_t index, std::int64_t rel, const std::uint8_t* at, std::int64_t count);
    void AddContentChange(const CContentChange& change);
    void Run(CPieceList& list, bool undo);
    void RunEntry(CPieceList& list, CPieceChangeEntry& entry, bool undo,
                  CPieceList::CChangedRange& changed);

    std::vector<CPieceChangeEntry> m_entries;
    CContentChanges m_changes;
    bool m_bKeeps;
};
