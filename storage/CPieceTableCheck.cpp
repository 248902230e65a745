// What tests and checks may look at of the piece list.
#include "storage/CPieceTable.h"

#include <string>

CPieceInfo CPieceTable::GetPieceInfo(int index) const {
    const CPiece& piece = *m_pieces.at(static_cast<size_t>(index));
    return {m_pieceStarts[static_cast<size_t>(index)], piece.m_nLength, piece.m_bFromFile,
            piece.m_bFromFile ? piece.m_nFileOffset : 0};
}

std::string CPieceTable::CheckInvariants() const {
    if (m_pieces.empty())
        return "empty piece list";
    if (m_pieces.size() != m_pieceStarts.size())
        return "piece and start arrays differ in size";
    std::int64_t offset = 0;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const CPiece& piece = *m_pieces[i];
        if (m_pieceStarts[i] != offset)
            return "piece " + std::to_string(i) + " starts at " + std::to_string(m_pieceStarts[i]) +
                   ", expected " + std::to_string(offset);
        if (piece.m_nLength < 0 || (piece.m_nLength == 0 && m_pieces.size() > 1))
            return "piece " + std::to_string(i) + " has length " + std::to_string(piece.m_nLength);
        if (!piece.m_bFromFile && piece.m_data.size() != static_cast<size_t>(piece.m_nLength))
            return "memory piece " + std::to_string(i) + " block size differs from its length";
        if (piece.m_bFromFile && !piece.m_data.empty())
            return "file piece " + std::to_string(i) + " holds a memory block";
        if (piece.m_bFromFile != (piece.m_source != nullptr))
            return "piece " + std::to_string(i) +
                   " has a file version that does not match its kind";
        if (piece.m_bFromFile && piece.m_nFileOffset < 0)
            return "file piece " + std::to_string(i) + " has a negative file offset";
        offset += piece.m_nLength;
    }
    if (offset != m_nTotalLength)
        return "pieces add up to " + std::to_string(offset) + ", length is " +
               std::to_string(m_nTotalLength);
    return std::string();
}
