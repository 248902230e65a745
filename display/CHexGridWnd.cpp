// The grid's setup, layout and scrolling.
#include "display/CHexGridWnd.h"

#include "display/DisplayStrings.h"
#include "resources/StringTable.h"
#include "storage/CPieceFile64.h"

#include <QApplication>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>

CHexGridWnd::CHexGridWnd(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Every pixel is painted here, which also lets scrolling move pixels.
    viewport()->setAutoFillBackground(false);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    QScrollBar* bar = verticalScrollBar();
    bar->setSingleStep(1);
    connect(bar, &QAbstractSlider::actionTriggered, this, &CHexGridWnd::OnScrollAction);
    m_rowBytes.resize(CRowLayout::kMaxBytesPerRow);
    m_font = DefaultFont();
    RecalcLayout(true);
}

CHexGridWnd::~CHexGridWnd() = default;

QFont CHexGridWnd::DefaultFont() {
    QFont font(QStringLiteral("Courier"));
    font.setPixelSize(13);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    return font;
}

void CHexGridWnd::SetFile(CPieceFile64* file, bool readOnly) {
    m_pFile = file;
    m_bReadOnly = readOnly;
    m_bPaintErrorShown = false;
    m_nLength = file ? file->GetLength() : 0;
    // Another view may have shortened the file: keep caret and anchor on it
    // (the end position has no low digit either).
    const bool moved = m_caret.ClampTo(m_nLength);
    RecalcLayout(false);
    if (moved)
        emit selectionChanged();
}

void CHexGridWnd::SetDisplayFont(const QFont& font) {
    m_font = font;
    RecalcLayout(true);
}

void CHexGridWnd::SetFixedColumns(int columns) {
    m_nFixedColumns = columns;
    RecalcLayout(false);
}

void CHexGridWnd::SetHexAddress(bool hexAddress) {
    m_bHexAddress = hexAddress;
    RecalcLayout(false);
}

void CHexGridWnd::SetShowUpper(bool showUpper) {
    m_bShowUpper = showUpper;
    viewport()->update();
}

void CHexGridWnd::SetCharSet(int charSet) {
    m_nCharSet = charSet;
    viewport()->update();
}

void CHexGridWnd::RecalcLayout(bool newMetrics) {
    if (newMetrics) {
        const QFontMetrics metrics(m_font);
        m_layout.m_nCharHeight = std::max(metrics.height(), 1);
        m_layout.m_nCharWidth = std::max(metrics.averageCharWidth(), 1);
        m_painter.SetFont(m_font);
        m_painter.SetCellWidth(m_layout.m_nCharWidth);
    }
    m_layout.m_nAddressDigits = CRowLayout::AddressDigitsFor(m_nLength, m_bHexAddress);
    m_layout.Recalc(viewport()->width(), viewport()->height(), m_nFixedColumns);
    m_layout.m_nTop = m_layout.ClampTop(m_layout.m_nTop, m_nLength);
    UpdateScrollBar();
    viewport()->update();
}

void CHexGridWnd::UpdateScrollBar() {
    QScrollBar* bar = verticalScrollBar();
    const int page = m_layout.ScrollPage(m_nLength);
    if (m_nLength == 0 || page > CRowLayout::kScrollScale) {
        // Everything fits: the bar stays, disabled.
        bar->setRange(0, 0);
        bar->setPageStep(std::max(page, 1));
        bar->setEnabled(false);
        return;
    }
    // A thumb of `page` units on 0 ... 1000 leaves 1001 - page positions.
    bar->setRange(0, CRowLayout::kScrollScale + 1 - page);
    bar->setPageStep(page);
    bar->setValue(CRowLayout::ScrollPosition(m_layout.m_nTop, m_nLength));
    bar->setEnabled(true);
}

void CHexGridWnd::OnScrollAction(int action) {
    QScrollBar* bar = verticalScrollBar();
    const std::int64_t bpr = m_layout.m_nBytesPerRow;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        ScrollTo(m_layout.m_nTop - bpr);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        ScrollTo(m_layout.m_nTop + bpr);
        break;
    case QAbstractSlider::SliderPageStepSub:
        ScrollTo(m_layout.m_nTop - m_layout.PageBytes());
        break;
    case QAbstractSlider::SliderPageStepAdd:
        ScrollTo(m_layout.m_nTop + m_layout.PageBytes());
        break;
    case QAbstractSlider::SliderMove: {
        const int position = bar->sliderPosition();
        // The bottom of the track shows the end, which 1000ths alone may miss.
        ScrollTo(position >= bar->maximum() ? m_nLength
                                            : CRowLayout::ThumbToTop(position, m_nLength));
        return; // the thumb stays under the mouse
    }
    case QAbstractSlider::SliderToMinimum:
        ScrollTo(0);
        break;
    case QAbstractSlider::SliderToMaximum:
        ScrollTo(m_nLength);
        break;
    default:
        return;
    }
    // The slider has already stepped by its own rules; put it where the top is.
    bar->setSliderPosition(CRowLayout::ScrollPosition(m_layout.m_nTop, m_nLength));
}

void CHexGridWnd::scrollContentsBy(int, int) {
    // Scrolling is done by ScrollTo, which knows the rows.
}

void CHexGridWnd::ClampTop(std::int64_t& top, bool ensureVisible, std::int64_t target) const {
    if (!ensureVisible) {
        top = m_layout.ClampTop(top, m_nLength);
        return;
    }
    top = m_layout.ClampTop(top, m_nLength, target < 0 ? m_caret.Offset() : target);
}

bool CHexGridWnd::ScrollTo(std::int64_t top) {
    ClampTop(top, false);
    if (top == m_layout.m_nTop)
        return false;
    {
        const QSignalBlocker block(verticalScrollBar());
        verticalScrollBar()->setValue(CRowLayout::ScrollPosition(top, m_nLength));
    }
    const std::int64_t rows = (m_layout.m_nTop - top) / m_layout.m_nBytesPerRow;
    if (rows > -m_layout.m_nRowsPerPage && rows < m_layout.m_nRowsPerPage) {
        // Move what is still visible; only the uncovered rows get painted.
        const QRect area(0, CRowLayout::kTopMargin, viewport()->width(),
                         m_layout.m_nRowsPerPage * m_layout.m_nCharHeight);
        viewport()->scroll(0, static_cast<int>(rows) * m_layout.m_nCharHeight, area);
    } else {
        viewport()->update();
    }
    m_layout.m_nTop = top;
    return true;
}

void CHexGridWnd::InvalidateBytes(std::int64_t a, std::int64_t b) {
    const std::int64_t lo = std::min(a, b);
    const std::int64_t hi = std::max(a, b);
    const std::int64_t pageEnd = m_layout.m_nTop + m_layout.PageBytes();
    if (hi < m_layout.m_nTop || lo > pageEnd)
        return;
    const std::int64_t bpr = m_layout.m_nBytesPerRow;
    // Rows from one above to one below the page stand for everything beyond.
    const int rowLo = lo < m_layout.m_nTop ? -1 : static_cast<int>((lo - m_layout.m_nTop) / bpr);
    const int rowHi =
        hi > pageEnd ? m_layout.m_nRowsPerPage : static_cast<int>((hi - m_layout.m_nTop) / bpr);
    int left = 0;
    int right = 0;
    if (rowLo == rowHi) {
        left = m_layout.CellX(m_layout.HexCell(static_cast<int>(lo % bpr)));
        right = m_layout.CellX(m_layout.CharCell(static_cast<int>(hi % bpr)) + 1);
    } else {
        left = m_layout.CellX(m_layout.HexCell(0));
        right = m_layout.CellX(m_layout.CharCell(m_layout.m_nBytesPerRow));
    }
    left -= m_layout.m_nCharWidth;
    right += m_layout.m_nCharWidth;
    viewport()->update(QRect(left, m_layout.RowY(rowLo), right - left,
                             m_layout.RowY(rowHi + 1) - m_layout.RowY(rowLo)));
}

bool CHexGridWnd::IsOffsetVisible(std::int64_t offset) const {
    return m_layout.m_nTop <= offset && offset <= m_nLength &&
           offset < m_layout.m_nTop + m_layout.PageBytes();
}

void CHexGridWnd::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange)
        viewport()->update();
    QAbstractScrollArea::changeEvent(event);
}

bool CHexGridWnd::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize)
        RecalcLayout(false);
    return QAbstractScrollArea::viewportEvent(event);
}

void CHexGridWnd::Report(const QString& text) {
    if (m_promptHook)
        m_promptHook(text);
    else
        Beep();
}

void CHexGridWnd::ReportLater(const QString& text) {
    QTimer::singleShot(0, this, [this, text] { Report(text); });
}

QString CHexGridWnd::CurrentExceptionText() {
    try {
        throw;
    } catch (const CFileException& e) {
        return QString::fromStdString(e.GetErrorMessage());
    } catch (const std::bad_alloc&) {
        return QString::fromUtf8(res::LoadString(IDS_OUT_OF_MEMORY));
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QString::fromStdString(
            CFileException(CFileException::genericException).GetErrorMessage());
    }
}

void CHexGridWnd::Beep() {
    QApplication::beep();
}
