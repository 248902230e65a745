// What tests and checks may look at of the piece list.
#include "storage/CPieceTable.h"

#include <string>

CPieceInfo CPieceTable::GetPieceInfo(int index) const {
    const CPiece& piece = *m_list.m_pieces.at(static_cast<size_t>(index));
    return {m_list.m_starts[static_cast<size_t>(index)], piece.m_nLength, piece.m_bFromFile,
            piece.m_bFromFile ? piece.m_nFileOffset : 0};
}

std::string CPieceTable::CheckInvariants() const {
    return m_list.CheckInvariants();
}
