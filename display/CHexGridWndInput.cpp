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
    std::int64_t top = m_nTop;
    ClampTop(top, true, offset);
    if (top != m_nTop)
        ScrollTo(top);
}

void CHexGridWnd::SetCaret(std::int64_t offset, bool ensureVisible) {
    int nibble = 0;
    NormalizeCaret(offset, nibble, m_nLength);
    if (ensureVisible)
        ScrollIntoView(offset);
    InvalidateBytes(offset, m_nCaret);
    m_nCaret = offset;
    m_nNibble = 0;
    CaretMoved();
    emit selectionChanged();
}

void CHexGridWnd::SetAnchor(std::int64_t offset) {
    offset = std::clamp<std::int64_t>(offset, 0, m_nLength);
    InvalidateBytes(offset, m_nAnchor);
    m_nAnchor = offset;
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

void CHexGridWnd::keyPressEvent(QKeyEvent* event) {
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
        CCaretState state;
        state.MoveTo({m_nCaret, m_nNibble}, false);
        if (!m_bHexPane)
            state.SwitchPane();
        const CCaretPlace target = state.KeyTarget(move, m_nBytesPerRow, PageBytes(), m_nLength);
        MoveCaret(target.offset, target.nibble, shift);
    } catch (...) {
        Report(CurrentExceptionText());
    }
}

void CHexGridWnd::MoveCaret(std::int64_t offset, int nibble, bool extend) {
    NormalizeCaret(offset, nibble, m_nLength);
    if (offset == m_nCaret && nibble == m_nNibble && IsOffsetVisible(m_nCaret))
        return;
    ScrollIntoView(offset);
    InvalidateBytes(offset, m_nCaret);
    m_nCaret = offset;
    m_nNibble = nibble;
    // Without Shift the anchor follows; with it the selection grows or shrinks.
    if (!extend && m_nAnchor != m_nCaret) {
        InvalidateBytes(m_nAnchor, m_nCaret);
        m_nAnchor = m_nCaret;
    }
    CaretMoved();
    emit selectionChanged();
}

void CHexGridWnd::SwitchPane() {
    m_bHexPane = !m_bHexPane;
    InvalidateBytes(m_nCaret, m_nCaret);
    CaretMoved();
    emit selectionChanged();
}

void CHexGridWnd::CollapseSelection() {
    if (m_nAnchor == m_nCaret)
        return;
    InvalidateBytes(m_nAnchor, m_nCaret);
    m_nAnchor = m_nCaret;
    emit selectionChanged();
}

void CHexGridWnd::TypeCharacter(char32_t ch, bool extend) {
    int digit = -1;
    unsigned char value = 0;
    if (m_bHexPane) {
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
    if (!m_pFile || !m_writeHook || m_nCaret >= m_nLength) {
        // Typing overwrites; the end position has nothing to overwrite.
        Beep();
        return;
    }
    if (m_bHexPane) {
        unsigned char old = 0;
        if (m_pFile->ReadAt(m_nCaret, &old, 1) != 1) {
            Beep();
            return;
        }
        value = m_nNibble == 0 ? static_cast<unsigned char>((old & 0x0F) | (digit << 4))
                               : static_cast<unsigned char>((old & 0xF0) | digit);
    }
    m_writeHook(m_nCaret, &value, 1);
    InvalidateBytes(m_nCaret, m_nCaret);
    if (m_bHexPane)
        MoveCaret(m_nCaret, m_nNibble + 1, extend);
    else
        MoveCaret(m_nCaret + 1, m_nNibble, extend);
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
    if (hit.offset == m_nCaret && hit.hexPane == m_bHexPane && hit.nibble == m_nNibble)
        return;
    if (extend) {
        InvalidateBytes(m_nCaret, hit.offset);
    } else {
        InvalidateBytes(m_nAnchor, m_nCaret);
        InvalidateBytes(hit.offset, hit.offset);
        m_nAnchor = hit.offset;
    }
    m_bHexPane = hit.hexPane;
    m_nCaret = hit.offset;
    m_nNibble = hit.nibble;
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
    const std::int64_t distance = static_cast<std::int64_t>(rows) * m_nBytesPerRow;
    if (point.y() < 0)
        ScrollTo(m_nTop - distance);
    else if (point.y() >= viewport()->height())
        ScrollTo(m_nTop + distance);
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
        ScrollTo(m_nTop - static_cast<std::int64_t>(notches) * QApplication::wheelScrollLines() *
                              m_nBytesPerRow);
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
    const CCellPoint p = CellToPoint(m_nCaret, m_bHexPane, m_bHexPane ? m_nNibble : 0);
    return QRect(p.x, p.y, m_nCharWidth, m_nCharHeight);
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
    InvalidateBytes(m_nCaret, m_nCaret);
}

void CHexGridWnd::focusOutEvent(QFocusEvent*) {
    m_caretTimer.stop();
    // A drag does not survive the focus going elsewhere.
    m_bDragging = false;
    StopAutoScroll();
    InvalidateBytes(m_nCaret, m_nCaret);
}
