// The undo history of a piece table: steps of reversible changes to the piece
// list. Pieces that leave the list move into the history and come back on undo,
// so a step costs what the edit cost and deleted bytes are never copied, except
// bytes cut out of a memory piece, which are edit-sized.
#pragma once

#include "storage/CPieceTable.h"

#include <cstdint>
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

// One reversible change. Entries are applied and reverted strictly in order,
// so the list (and every memory block) is, at each entry, exactly as it was
// when the entry was recorded.
struct CHistoryEntry {
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
    // Shared by the two crossings of one save point (see CPieceTable::Flush).
    std::shared_ptr<COwnedPieces> m_swap;
};

struct CHistoryStep {
    std::uint64_t m_nId = 0;
    bool m_bSavePoint = false; // no content change: crossed silently by undo and redo
    bool m_bReturn = false;    // a save point's way back to the list of the steps to redo
    std::vector<CHistoryEntry> m_entries;
    // What the step did to the content, in the order made (empty for a save
    // point); undo reports them reversed.
    CContentChanges m_changes;
};

struct CPieceHistory {
    std::vector<CHistoryStep> m_undo;
    std::vector<CHistoryStep> m_redo;
    int m_nUndoSteps = 0; // real steps (not save points) in each stack
    int m_nRedoSteps = 0;
    int m_nOpenDepth = 0;
    CHistoryStep m_open; // the step being recorded
};
