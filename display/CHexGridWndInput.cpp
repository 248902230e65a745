// Caret, selection, typing, mouse and the timers of the grid.
#include "display/CHexGridWnd.h"

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
    offset += nibble / 2;
    nibble %= 2;
    if (nibble < 0) {
        nibble = 1;
        offset -= 1;
    }
    if (offset >= length) {
        offset = length;
        nibble = 0;
    }
    if (offset < 0) {
        offset = 0;
        nibble = 0;
    }
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
    start = std::min(m_nAnchor, m_nCaret);
    length = std::max(m_nAnchor, m_nCaret) - start;
}

CByteString CHexGridWnd::GetSelectedBytes(std::int64_t maxLength) const {
    std::int64_t start = 0;
    std::int64_t length = 0;
    GetSelection(start, length);
    const std::int64_t wanted = std::min(length, maxLength);
    if (wanted <= 0 || !m_pFile)
        return CByteString();
    CByteString bytes(static_cast<size_t>(wanted), '\0');
    m_pFile->Seek(start, CFile64::begin);
    std::int64_t got = 0;
    // Single reads stay below 2^31 bytes.
    constexpr std::int64_t kChunk = std::int64_t{1} << 30;
    while (got < wanted) {
        const auto chunk = static_cast<std::uint32_t>(std::min(wanted - got, kChunk));
        const std::uint32_t n = m_pFile->Read(bytes.data() + got, chunk);
        got += n;
        if (n < chunk)
            break;
    }
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
        const std::int64_t bpr = m_nBytesPerRow;
        std::int64_t offset = m_nCaret;
        int nibble = m_nNibble;
        switch (event->key()) {
        case Qt::Key_PageUp:
            offset -= PageBytes();
            break;
        case Qt::Key_PageDown:
            offset += PageBytes();
            break;
        case Qt::Key_Up:
            offset -= bpr;
            break;
        case Qt::Key_Down:
            offset += bpr;
            break;
        case Qt::Key_Left:
            if (m_bHexPane)
                --nibble;
            else
                --offset;
            break;
        case Qt::Key_Right:
            if (m_bHexPane)
                ++nibble;
            else
                ++offset;
            break;
        case Qt::Key_Home:
            offset = ctrl ? 0 : offset - offset % bpr;
            nibble = 0;
            break;
        case Qt::Key_End:
            if (ctrl) {
                offset = m_nLength;
                nibble = 0;
            } else {
                offset = offset - offset % bpr + bpr - 1;
                nibble = 1;
            }
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
        MoveCaret(offset, nibble, shift);
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
    if (!m_pFile || m_nCaret >= m_nLength) {
        // Typing overwrites; the end position has nothing to overwrite.
        Beep();
        return;
    }
    if (m_bHexPane) {
        m_pFile->Seek(m_nCaret, CFile64::begin);
        unsigned char old = 0;
        if (m_pFile->Read(&old, 1) != 1) {
            Beep();
            return;
        }
        value = m_nNibble == 0 ? static_cast<unsigned char>((old & 0x0F) | (digit << 4))
                               : static_cast<unsigned char>((old & 0xF0) | digit);
    }
    m_pFile->Seek(m_nCaret, CFile64::begin);
    m_pFile->Write(&value, 1);
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
