#include "display/CaretState.h"

#include <algorithm>

CCaretPlace CCaretState::Normalized(std::int64_t offset, int nibble, std::int64_t length) {
    offset += nibble / 2;
    nibble %= 2;
    if (nibble < 0) {
        nibble = 1;
        offset -= 1;
    }
    if (offset >= length)
        return {length, 0};
    if (offset < 0)
        return {0, 0};
    return {offset, nibble};
}

CCaretPlace CCaretState::KeyTarget(CaretKey key, int bytesPerRow, std::int64_t pageBytes,
                                   std::int64_t length) const {
    const std::int64_t bpr = bytesPerRow;
    std::int64_t offset = m_nCaret;
    int nibble = m_nNibble;
    switch (key) {
    case CaretKey::PageUp:
        offset -= pageBytes;
        break;
    case CaretKey::PageDown:
        offset += pageBytes;
        break;
    case CaretKey::Up:
        offset -= bpr;
        break;
    case CaretKey::Down:
        offset += bpr;
        break;
    case CaretKey::Left:
        if (m_bHexPane)
            --nibble;
        else
            --offset;
        break;
    case CaretKey::Right:
        if (m_bHexPane)
            ++nibble;
        else
            ++offset;
        break;
    case CaretKey::RowStart:
        offset -= offset % bpr;
        nibble = 0;
        break;
    case CaretKey::RowEnd:
        offset = offset - offset % bpr + bpr - 1;
        nibble = 1;
        break;
    case CaretKey::Start:
        offset = 0;
        nibble = 0;
        break;
    case CaretKey::End:
        offset = length;
        nibble = 0;
        break;
    }
    return Normalized(offset, nibble, length);
}

void CCaretState::MoveTo(CCaretPlace place, bool extend) {
    m_nCaret = place.offset;
    m_nNibble = place.nibble;
    if (!extend)
        m_nAnchor = place.offset;
}

void CCaretState::SetCaret(std::int64_t offset, std::int64_t length) {
    m_nCaret = Normalized(offset, 0, length).offset;
    m_nNibble = 0;
}

void CCaretState::SetAnchor(std::int64_t offset, std::int64_t length) {
    m_nAnchor = std::clamp<std::int64_t>(offset, 0, length);
}

bool CCaretState::CollapseSelection() {
    if (m_nAnchor == m_nCaret)
        return false;
    m_nAnchor = m_nCaret;
    return true;
}

bool CCaretState::ClampTo(std::int64_t length) {
    bool moved = false;
    if (m_nCaret > length || (m_nCaret == length && m_nNibble != 0)) {
        m_nCaret = length;
        m_nNibble = 0;
        moved = true;
    }
    if (m_nAnchor > length) {
        m_nAnchor = length;
        moved = true;
    }
    return moved;
}

std::int64_t CCaretState::Follow(const CContentChange& change, std::int64_t offset) {
    // Bytes inserted right at a caret go in front of the byte under it: the
    // caret stays and stands on the first new byte, as the insert command
    // leaves it.
    if (change.m_nRemoved == 0 && offset == change.m_nOffset)
        return offset;
    return change.MapOffset(offset);
}

bool CCaretState::Follow(const CContentChanges& changes, std::int64_t length) {
    const CCaretPlace before = Place();
    const std::int64_t anchorBefore = m_nAnchor;
    for (const CContentChange& change : changes) {
        const bool swallowed = change.ChangesLength() && m_nCaret >= change.m_nOffset &&
                               m_nCaret < change.m_nOffset + change.m_nRemoved;
        if (swallowed)
            m_nNibble = 0;
        m_nCaret = Follow(change, m_nCaret);
        m_nAnchor = Follow(change, m_nAnchor);
    }
    const CCaretPlace place = Normalized(m_nCaret, m_nNibble, length);
    m_nCaret = place.offset;
    m_nNibble = place.nibble;
    m_nAnchor = std::clamp<std::int64_t>(m_nAnchor, 0, length);
    return Place() != before || m_nAnchor != anchorBefore;
}
