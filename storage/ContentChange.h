// What an edit did to the content, in the content's own offsets: at m_nOffset,
// m_nRemoved bytes gave way to m_nInserted bytes. An overwrite removes and
// inserts the same count. Edits, undo and redo report these, and views move
// their caret and repaint by them.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

struct CContentChange {
    std::int64_t m_nOffset = 0;
    std::int64_t m_nRemoved = 0;
    std::int64_t m_nInserted = 0;

    constexpr bool ChangesLength() const { return m_nRemoved != m_nInserted; }
    constexpr bool IsEmpty() const { return m_nRemoved == 0 && m_nInserted == 0; }
    constexpr std::int64_t Delta() const { return m_nInserted - m_nRemoved; }

    // Where a position of the content before the change stands after it:
    // before the change it stays, after the removed bytes it moves with them,
    // inside them it stays within what took their place.
    constexpr std::int64_t MapOffset(std::int64_t pos) const {
        if (pos < m_nOffset)
            return pos;
        if (pos >= m_nOffset + m_nRemoved)
            return pos + Delta();
        return std::min(pos, m_nOffset + m_nInserted);
    }

    // One change covering `first` followed by `then` (whose offsets are those
    // after `first`): the bytes either touched, with the same length change.
    static constexpr CContentChange Covering(const CContentChange& first,
                                             const CContentChange& then) {
        const std::int64_t start = std::min(first.m_nOffset, then.m_nOffset);
        const std::int64_t firstEnd = first.m_nOffset + first.m_nInserted;
        const std::int64_t firstEndAfter = firstEnd >= then.m_nOffset + then.m_nRemoved
                                               ? firstEnd + then.Delta()
                                               : then.m_nOffset + then.m_nInserted;
        const std::int64_t end = std::max(firstEndAfter, then.m_nOffset + then.m_nInserted);
        const std::int64_t inserted = end - start;
        return {start, inserted - (first.Delta() + then.Delta()), inserted};
    }

    constexpr bool operator==(const CContentChange&) const = default;
};

// Changes in the order they were made; each one's offsets are those after the
// ones before it.
using CContentChanges = std::vector<CContentChange>;
