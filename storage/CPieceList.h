// The content as an ordered list of pieces, each piece's start kept beside
// it. The table's edits change it through a CPieceChange, and the history
// reverts and applies those changes on it; neither reaches into the other.
#pragma once

#include "storage/CSourceFile.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One piece of the content: a range of a version of the file, or a block in
// memory.
struct CPiece {
    std::int64_t m_nLength = 0;
    bool m_bFromFile = false;
    std::int64_t m_nFileOffset = 0;        // file pieces only
    std::shared_ptr<CSourceFile> m_source; // file pieces only: the version read
    std::vector<std::uint8_t> m_data;      // memory pieces only; exactly m_nLength bytes
};

using PiecePtr = std::unique_ptr<CPiece>;

PiecePtr MakeFilePiece(std::int64_t length, std::int64_t fileOffset,
                       const std::shared_ptr<CSourceFile>& source);
PiecePtr MakeMemoryPiece(std::int64_t length);

// Pieces are never empty unless the list holds that one piece only, so the
// starts rise strictly and renumbering after an insertion is one pass over a
// contiguous array.
struct CPieceList {
    CPieceList() = default;
    ~CPieceList();
    CPieceList(const CPieceList&) = delete;
    CPieceList& operator=(const CPieceList&) = delete;

    // Index of the piece holding `pos` (start <= pos < end), or, for the end
    // position, the last piece.
    size_t PieceAt(std::int64_t pos) const;
    std::int64_t PieceEnd(size_t index) const {
        return m_starts[index] + m_pieces[index]->m_nLength;
    }
    void ShiftStarts(size_t fromIndex, std::int64_t delta) {
        for (size_t i = fromIndex; i < m_starts.size(); ++i)
            m_starts[i] += delta;
    }
    // Holds `piece` alone (the length is the caller's to set).
    void Reset(PiecePtr piece);

    // The pieces a revert or apply changed: from m_first to all but the last
    // m_keptAtEnd. m_runBegin…m_runEnd: pieces put back with their starts
    // relative to the first of them.
    struct CChangedRange {
        size_t m_first;
        size_t m_keptAtEnd;
        size_t m_runBegin = 0;
        size_t m_runEnd = 0;
    };
    // Renumbers the changed pieces and shifts those after them; sets the length.
    void RecomputeStarts(const CChangedRange& changed);

    // An empty string, or what is wrong with the list.
    std::string CheckInvariants() const;

    std::vector<CPiece*> m_pieces;      // owned; raw so that shifting the array is a memmove
    std::vector<std::int64_t> m_starts; // m_starts[i] is piece i's start
    std::int64_t m_nLength = 0;
};
