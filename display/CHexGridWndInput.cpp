// Caret, selection, typing, mouse and the timers of the grid.
#include "display/CHexGridWnd.h"

#include "display/CaretState.h"
#include "display/CharsetTables.h"
#include "display/DisplayCodePage.h"
#include "display/DisplayStrings.h"
#include "resources/StringTable.h"
#include "storage/CPieceFile64.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimerEvent>
#include <QWheelEvent>

#include <algorithm>

namespace {

constexpr int kAutoScrollPeriodMs = 100;

int HexDigitValue(char32_t ch) {
    if (ch >= '0' && ch <= '9')
        return static_cast<int>(ch - '0');
    if (ch >= 'A' && ch <= 'F')
        return static_cast<int>(ch - 'A' + 10);
    if (ch >= 'a' && ch <= 'f')
        return static_cast<int>(ch - 'a' + 10);
    return -1;
}

} // namespace

void CHexGridWnd::NormalizeCaret(std::int64_t& offset, int& nibble, std::int64_t length) {
    const CCaretPlace place = CCaretState::Normalized(offset, nibble, length);
    offset = place.offset;
    nibble = place.nibble;
}

void CHexGridWnd::ScrollIntoView(std::int64_t offset) {
    std::int64_t top = m_layout.m_nTop;
    ClampTop(top, true, offset);
    if (top != m_layout.m_nTop)
        ScrollTo(top);
}

void CHexGridWnd::SetCaret(std::int64_t offset, bool ensureVisible) {
    int nibble = 0;
    NormalizeCaret(offset, nibble, m_nLength);
    if (ensureVisible)
        ScrollIntoView(offset);
    InvalidateBytes(offset, m_caret.Offset());
    m_caret.SetCaret(offset, m_nLength);
    CaretMoved();
    emit selectionChanged();
}

void CHexGridWnd::SetAnchor(std::int64_t offset) {
    offset = std::clamp<std::int64_t>(offset, 0, m_nLength);
    InvalidateBytes(offset, m_caret.Anchor());
    m_caret.SetAnchor(offset, m_nLength);
    emit selectionChanged();
}

void CHexGridWnd::GetSelection(std::int64_t& start, std::int64_t& length) const {
    const CByteRange selection = GetSelection();
    start = selection.start;
    length = selection.length;
}

CByteString CHexGridWnd::GetSelectedBytes(std::int64_t maxLength) const {
    const CByteRange selection = GetSelection();
    const std::int64_t wanted = std::min(selection.length, maxLength);
    if (wanted <= 0 || !m_pFile)
        return CByteString();
    CByteString bytes(static_cast<size_t>(wanted), '\0');
    const std::int64_t got = m_pFile->ReadAt(selection.start, bytes.data(), wanted);
    bytes.resize(static_cast<size_t>(got));
    return bytes;
}

// ---- Keyboard ---------------------------------------------------------------

bool CHexGridWnd::event(QEvent* event) {
    // Tab switches the pane instead of moving the focus on.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

// The keys that move the caret; with Alt held they do nothing here.
static bool IsCaretKey(int key) {
    switch (key) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
        return true;
    default:
        return false;
    }
}

void CHexGridWnd::keyPressEvent(QKeyEvent* event) {
    if ((event->modifiers() & Qt::AltModifier) && IsCaretKey(event->key())) {
        event->ignore();
        return;
    }
    try {
        const Qt::KeyboardModifiers mods = event->modifiers();
        const bool shift = mods & Qt::ShiftModifier;
        const bool ctrl = mods & Qt::ControlModifier;
        CaretKey move = CaretKey::Left;
        switch (event->key()) {
        case Qt::Key_PageUp:
            move = CaretKey::PageUp;
            break;
        case Qt::Key_PageDown:
            move = CaretKey::PageDown;
            break;
        case Qt::Key_Up:
            move = CaretKey::Up;
            break;
        case Qt::Key_Down:
            move = CaretKey::Down;
            break;
        case Qt::Key_Left:
            move = CaretKey::Left;
            break;
        case Qt::Key_Right:
            move = CaretKey::Right;
            break;
        case Qt::Key_Home:
            move = ctrl ? CaretKey::Start : CaretKey::RowStart;
            break;
        case Qt::Key_End:
            move = ctrl ? CaretKey::End : CaretKey::RowEnd;
            break;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            SwitchPane();
            return;
        case Qt::Key_Escape:
            CollapseSelection();
            m_bDragging = false;
            return;
        default: {
            // Ctrl or Alt alone make shortcuts, not characters; both together
            // are AltGr on some systems.
            const QString text = event->text();
            if (text.isEmpty() || (mods & Qt::MetaModifier) ||
                (ctrl != static_cast<bool>(mods & Qt::AltModifier))) {
                event->ignore();
                return;
            }
            for (const char32_t ch : text.toUcs4()) {
                if (ch == 0x7F) // Delete is a command
                    continue;
                if (m_bReadOnly) {
                    Report(QString::fromUtf8(res::LoadString(IDS_DATA_READ_ONLY)));
                    return;
                }
                TypeCharacter(ch, shift);
            }
            return;
        }
        }
        const CCaretPlace target =
            m_caret.KeyTarget(move, m_layout.m_nBytesPerRow, m_layout.PageBytes(), m_nLength);
        MoveCaret(target.offset, target.nibble, shift);
    } catch (...) {
        Report(CurrentExceptionText());
    }
}

void CHexGridWnd::MoveCaret(std::int64_t offset, int nibble, bool extend) {
    const CCaretPlace place = CCaretState::Normalized(offset, nibble, m_nLength);
    if (place == m_caret.Place() && IsOffsetVisible(m_caret.Offset()))
        return;
    ScrollIntoView(place.offset);
    InvalidateBytes(place.offset, m_caret.Offset());
    // Without Shift the anchor follows; with it the selection grows or shrinks.
    if (!extend && m_caret.Anchor() != place.offset)
        InvalidateBytes(m_caret.Anchor(), place.offset);
    m_caret.MoveTo(place, extend);
    CaretMoved();
    emit selectionChanged();
}

void CHexGridWnd::SwitchPane() {
    m_caret.SwitchPane();
    InvalidateBytes(m_caret.Offset(), m_caret.Offset());
    CaretMoved();
    emit selectionChanged();
}

void CHexGridWnd::CollapseSelection() {
    const CByteRange selection = m_caret.Selection();
    if (!m_caret.CollapseSelection())
        return;
    InvalidateBytes(selection.start, selection.End());
    emit selectionChanged();
}

void CHexGridWnd::TypeCharacter(char32_t ch, bool extend) {
    int digit = -1;
    unsigned char value = 0;
    if (m_caret.InHexPane()) {
        digit = HexDigitValue(ch);
        if (digit < 0)
            return;
    } else {
        if (ch < 0x20)
            return;
        const int code = UnicodeToDisplayCode(ch);
        if (code < 0) {
            Beep(); // no byte stands for this character
            return;
        }
        value =
            m_nCharSet == kCharSetEbcdic ? AsciiToEbcdic[code] : static_cast<unsigned char>(code);
    }
    if (!m_pFile || !m_writeHook || m_caret.Offset() >= m_nLength) {
        // Typing overwrites; the end position has nothing to overwrite.
        Beep();
        return;
    }
    if (m_caret.InHexPane()) {
        unsigned char old = 0;
        if (m_pFile->ReadAt(m_caret.Offset(), &old, 1) != 1) {
            Beep();
            return;
        }
        value = m_caret.Nibble() == 0 ? static_cast<unsigned char>((old & 0x0F) | (digit << 4))
                                      : static_cast<unsigned char>((old & 0xF0) | digit);
    }
    m_writeHook(m_caret.Offset(), &value, 1);
    InvalidateBytes(m_caret.Offset(), m_caret.Offset());
    if (m_caret.InHexPane())
        MoveCaret(m_caret.Offset(), m_caret.Nibble() + 1, extend);
    else
        MoveCaret(m_caret.Offset() + 1, m_caret.Nibble(), extend);
    emit edited();
}

// ---- Mouse ------------------------------------------------------------------

void CHexGridWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    try {
        m_bDragging = true;
        m_ptLastMouse = event->position().toPoint();
        LeftButtonDown(m_ptLastMouse, event->modifiers() & Qt::ShiftModifier);
    } catch (...) {
        Report(CurrentExceptionText());
    }
}

void CHexGridWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void CHexGridWnd::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bDragging)
        return;
    try {
        m_ptLastMouse = event->position().toPoint();
        const int y = m_ptLastMouse.y();
        if (y >= 0 && y < viewport()->height()) {
            AutoScrollStep(m_ptLastMouse, 0);
        } else if (m_nScrollTicks == 0) {
            m_autoScrollTimer.start(kAutoScrollPeriodMs, this);
            m_nScrollTicks = 1;
            AutoScrollTick();
        }
    } catch (...) {
        Report(CurrentExceptionText());
    }
}

void CHexGridWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_bDragging = false; // a running timer stops at its next tick
}

void CHexGridWnd::LeftButtonDown(QPoint point, bool extend) {
    const CCellHit hit = PointToCell(point);
    const CCaretPlace place{hit.offset, hit.nibble};
    if (place == m_caret.Place() && hit.hexPane == m_caret.InHexPane())
        return;
    if (extend) {
        InvalidateBytes(m_caret.Offset(), hit.offset);
    } else {
        InvalidateBytes(m_caret.Anchor(), m_caret.Offset());
        InvalidateBytes(hit.offset, hit.offset);
    }
    m_caret.SetHexPane(hit.hexPane);
    m_caret.MoveTo(place, extend);
    CaretMoved();
    emit selectionChanged();
}

void CHexGridWnd::AutoScrollTick() {
    const int y = m_ptLastMouse.y();
    // Escape ends the drag, and with it the scrolling.
    if (m_nScrollTicks != 0 && m_bDragging && (y < 0 || y >= viewport()->height())) {
        AutoScrollStep(m_ptLastMouse, m_nScrollTicks);
        ++m_nScrollTicks;
    } else {
        StopAutoScroll();
    }
}

void CHexGridWnd::AutoScrollStep(QPoint point, int rows) {
    const std::int64_t distance = static_cast<std::int64_t>(rows) * m_layout.m_nBytesPerRow;
    if (point.y() < 0)
        ScrollTo(m_layout.m_nTop - distance);
    else if (point.y() >= viewport()->height())
        ScrollTo(m_layout.m_nTop + distance);
    LeftButtonDown(point, true);
}

void CHexGridWnd::StopAutoScroll() {
    m_autoScrollTimer.stop();
    m_nScrollTicks = 0;
}

void CHexGridWnd::wheelEvent(QWheelEvent* event) {
    // One notch scrolls the desktop's wheel step in rows.
    m_nWheelDelta += event->angleDelta().y();
    const int notches = m_nWheelDelta / 120;
    if (notches != 0) {
        m_nWheelDelta -= notches * 120;
        ScrollTo(m_layout.m_nTop - static_cast<std::int64_t>(notches) *
                                       QApplication::wheelScrollLines() * m_layout.m_nBytesPerRow);
    }
    event->accept();
}

// ---- Timers and focus -------------------------------------------------------

void CHexGridWnd::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_autoScrollTimer.timerId()) {
        try {
            AutoScrollTick();
        } catch (...) {
            StopAutoScroll();
            Report(CurrentExceptionText());
        }
    } else if (event->timerId() == m_caretTimer.timerId()) {
        m_bCaretOn = !m_bCaretOn;
        viewport()->update(CaretRect());
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

QRect CHexGridWnd::CaretRect() const {
    const CCellPoint p = CellToPoint(m_caret.Offset(), m_caret.InHexPane(),
                                     m_caret.InHexPane() ? m_caret.Nibble() : 0);
    return QRect(p.x, p.y, m_layout.m_nCharWidth, m_layout.m_nCharHeight);
}

void CHexGridWnd::CaretMoved() {
    m_bCaretOn = true;
    RestartCaretBlink();
}

void CHexGridWnd::RestartCaretBlink() {
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        m_caretTimer.start(flash / 2, this);
    else
        m_caretTimer.stop();
}

void CHexGridWnd::focusInEvent(QFocusEvent*) {
    CaretMoved();
    InvalidateBytes(m_caret.Offset(), m_caret.Offset());
}

void CHexGridWnd::focusOutEvent(QFocusEvent*) {
    m_caretTimer.stop();
    // A drag does not survive the focus going elsewhere.
    m_bDragging = false;
    StopAutoScroll();
    InvalidateBytes(m_caret.Offset(), m_caret.Offset());
}
