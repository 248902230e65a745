#include "storage/CPieceList.h"

#include <algorithm>

PiecePtr MakeFilePiece(std::int64_t length, std::int64_t fileOffset,
                       const std::shared_ptr<CSourceFile>& source) {
    auto piece = std::make_unique<CPiece>();
    piece->m_nLength = length;
    piece->m_bFromFile = true;
    piece->m_nFileOffset = fileOffset;
    piece->m_source = source;
    return piece;
}

PiecePtr MakeMemoryPiece(std::int64_t length) {
    auto piece = std::make_unique<CPiece>();
    piece->m_nLength = length;
    piece->m_data.resize(static_cast<size_t>(length));
    return piece;
}

CPieceList::~CPieceList() {
    for (CPiece* piece : m_pieces)
        delete piece;
}

size_t CPieceList::PieceAt(std::int64_t pos) const {
    const auto it = std::upper_bound(m_starts.begin(), m_starts.end(), pos);
    return it == m_starts.begin() ? 0 : static_cast<size_t>(it - m_starts.begin() - 1);
}

void CPieceList::Reset(PiecePtr piece) {
    m_pieces.reserve(1); // the one step that may fail, before anything goes
    m_starts.reserve(1);
    for (CPiece* old : m_pieces)
        delete old;
    m_pieces.clear();
    m_starts.clear();
    m_pieces.push_back(piece.release());
    m_starts.push_back(0);
}

void CPieceList::RecomputeStarts(const CChangedRange& changed) {
    const size_t size = m_pieces.size();
    const size_t first = std::min(changed.m_first, size - 1);
    const size_t keptFrom = std::max(first, size - std::min(changed.m_keptAtEnd, size));
    std::int64_t start = first == 0 ? 0 : m_starts[first - 1] + m_pieces[first - 1]->m_nLength;
    for (size_t i = first; i < keptFrom;) {
        if (i == changed.m_runBegin && changed.m_runBegin < changed.m_runEnd &&
            changed.m_runEnd <= keptFrom) {
            // Pieces put back hold their starts relative to the first of them.
            for (size_t j = i; j < changed.m_runEnd; ++j)
                m_starts[j] += start;
            i = changed.m_runEnd;
            start = m_starts[i - 1] + m_pieces[i - 1]->m_nLength;
            continue;
        }
        m_starts[i] = start;
        start += m_pieces[i]->m_nLength;
        ++i;
    }
    if (keptFrom < size)
        ShiftStarts(keptFrom, start - m_starts[keptFrom]);
    m_nLength = m_starts[size - 1] + m_pieces[size - 1]->m_nLength;
}

std::string CPieceList::CheckInvariants() const {
    if (m_pieces.empty())
        return "empty piece list";
    if (m_pieces.size() != m_starts.size())
        return "piece and start arrays differ in size";
    std::int64_t offset = 0;
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const CPiece& piece = *m_pieces[i];
        if (m_starts[i] != offset)
            return "piece " + std::to_string(i) + " starts at " + std::to_string(m_starts[i]) +
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
    if (offset != m_nLength)
        return "pieces add up to " + std::to_string(offset) + ", length is " +
               std::to_string(m_nLength);
    return std::string();
}
