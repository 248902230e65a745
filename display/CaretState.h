// Caret and selection of a grid as a value: the caret's byte and digit, the
// anchor the selection reaches back to, the pane the caret is in, and the
// moves the keys make. No window is needed, so the rules are tested alone.
#pragma once

#include "document/ByteRange.h"
#include "storage/ContentChange.h"

#include <cstdint>

// A caret place: a byte offset and, in the hex pane, its digit (0 high, 1 low).
struct CCaretPlace {
    std::int64_t offset = 0;
    int nibble = 0;
    bool operator==(const CCaretPlace&) const = default;
};

// The keys that move the caret.
enum class CaretKey { Left, Right, Up, Down, PageUp, PageDown, RowStart, RowEnd, Start, End };

class CCaretState {
public:
    std::int64_t Offset() const { return m_nCaret; }
    int Nibble() const { return m_nNibble; }
    CCaretPlace Place() const { return {m_nCaret, m_nNibble}; }
    std::int64_t Anchor() const { return m_nAnchor; }
    bool InHexPane() const { return m_bHexPane; }
    // The bytes between anchor and caret.
    CByteRange Selection() const { return CByteRange::Between(m_nAnchor, m_nCaret); }

    // Carries a digit step into the offset and limits both to 0 ... length;
    // the end position has no low digit.
    static CCaretPlace Normalized(std::int64_t offset, int nibble, std::int64_t length);
    // Where `key` takes the caret, limited to the content. The hex pane steps
    // by digits left and right, the character pane by bytes.
    CCaretPlace KeyTarget(CaretKey key, int bytesPerRow, std::int64_t pageBytes,
                          std::int64_t length) const;

    // Puts the caret on `place`; without `extend` the anchor follows.
    void MoveTo(CCaretPlace place, bool extend);
    // The caret on the high digit of `offset` (limited); the anchor stays.
    void SetCaret(std::int64_t offset, std::int64_t length);
    void SetAnchor(std::int64_t offset, std::int64_t length);
    void SwitchPane() { m_bHexPane = !m_bHexPane; }
    void SetHexPane(bool hexPane) { m_bHexPane = hexPane; }
    // Anchor onto the caret; false when there was no selection.
    bool CollapseSelection();
    // Keeps caret and anchor on a content shortened to `length`; true when
    // either moved.
    bool ClampTo(std::int64_t length);
    // Moves caret and anchor with the bytes under them through `changes` (in
    // order), for a content now `length` long: bytes inserted or removed before
    // them shift them, a removed range they stood in leaves them at its start
    // (the caret on the high digit), and bytes inserted right at them leave
    // them on the first new byte. True when either moved.
    bool Follow(const CContentChanges& changes, std::int64_t length);

private:
    static std::int64_t Follow(const CContentChange& change, std::int64_t offset);

    std::int64_t m_nCaret = 0;
    int m_nNibble = 0;
    std::int64_t m_nAnchor = 0;
    bool m_bHexPane = true;
};
