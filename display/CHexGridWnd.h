// The window that shows and edits the bytes of one view: it paints the visible
// rows straight from the document's piece table, scrolls a file of any 64-bit
// length on a 0 ... 1000 scroll bar, and moves the caret, selects and
// overwrites bytes with the keyboard and the mouse. Each view has its own grid,
// so two views of one document scroll and select independently.
#pragma once

#include "display/CaretState.h"
#include "display/RowFormatter.h"
#include "display/RowLayout.h"
#include "display/RowPainter.h"
#include "document/ByteRange.h"
#include "storage/ByteString.h"
#include "storage/ContentChange.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QColor>
#include <QFont>

#include <cstdint>
#include <exception>
#include <functional>
#include <vector>

class CPieceFile64;

class CHexGridWnd : public QAbstractScrollArea {
    Q_OBJECT

public:
    // Tells the user something (a refused keystroke, a file error); the view
    // routes it to the prompt service. The grid itself never opens a window.
    using PromptHook = std::function<void(const QString& text)>;
    // Where typed bytes go: the view hands them to the document's edit path,
    // which updates every view. Without one, typing is refused.
    using WriteHook =
        std::function<void(std::int64_t offset, const unsigned char* bytes, std::int64_t count)>;

    explicit CHexGridWnd(QWidget* parent = nullptr);
    ~CHexGridWnd() override;

    // "Courier", 13 pixels high, resolved to a monospace face.
    static QFont DefaultFont();

    // Attaches the document's file (not owned; null shows nothing) and reads its
    // length. Caret and anchor are limited to the new length. The view calls it
    // only when the document's model object itself changes; edits arrive
    // through ApplyChanges.
    void SetFile(CPieceFile64* file, bool readOnly);
    // Lets go of the file (the document is about to free it): nothing is read
    // or painted until the next SetFile; caret, selection and top stay, so a
    // file reopened in its place shows the same spot.
    void ReleaseFile();
    // The attached file's content changed as `changes` say (in order, each in
    // the offsets after the ones before it): caret and anchor move with the
    // bytes under them, the length and the scroll bar follow, and only what
    // changed is painted again: an overwrite its bytes, an insert or delete
    // from its row to the bottom of the window, nothing for a change below the
    // window.
    void ApplyChanges(const CContentChanges& changes);
    void SetDisplayFont(const QFont& font);
    const QFont& DisplayFont() const { return m_font; }
    void SetFixedColumns(int columns);
    int GetFixedColumns() const { return m_nFixedColumns; }
    void SetHexAddress(bool hexAddress);
    bool IsHexAddress() const { return m_bHexAddress; }
    void SetShowUpper(bool showUpper);
    bool IsShowUpper() const { return m_bShowUpper; }
    void SetCharSet(int charSet);
    int GetCharSet() const { return m_nCharSet; }
    void SetReadOnly(bool readOnly) { m_bReadOnly = readOnly; }
    bool IsReadOnly() const { return m_bReadOnly; }
    CPieceFile64* GetFile() const { return m_pFile; }
    // The content's length when the file was last attached.
    std::int64_t GetLength() const { return m_nLength; }
    void SetPromptHook(PromptHook hook) { m_promptHook = std::move(hook); }
    void SetWriteHook(WriteHook hook) { m_writeHook = std::move(hook); }

    // Lays the rows out again for the client size; newMetrics re-reads the font.
    void RecalcLayout(bool newMetrics);
    // A valid top for `top`; with ensureVisible, moved as little as needed to
    // show `target` (the caret when target is negative).
    void ClampTop(std::int64_t& top, bool ensureVisible, std::int64_t target = -1) const;
    // Scrolls so that `top` (clamped) is the first row; false when it already was.
    bool ScrollTo(std::int64_t top);
    // Asks for a repaint of the bytes a ... b (either order) in both panes.
    void InvalidateBytes(std::int64_t a, std::int64_t b);
    bool IsOffsetVisible(std::int64_t offset) const;
    // Rows, cells and pixels as laid out for the current client size and font.
    const CRowLayout& Layout() const { return m_layout; }
    // The first offset shown (a row start).
    std::int64_t GetTop() const { return m_layout.m_nTop; }
    CCellPoint CellToPoint(std::int64_t offset, bool hexPane, int nibble) const {
        return m_layout.CellToPoint(offset, hexPane, nibble);
    }
    CCellHit PointToCell(QPoint point) const {
        return m_layout.PointToCell(point.x(), point.y(), m_nLength);
    }

    // Caret and selection, for the editing commands.
    void SetCaret(std::int64_t offset, bool ensureVisible);
    void SetAnchor(std::int64_t offset);
    CByteRange GetSelection() const { return m_caret.Selection(); }
    void GetSelection(std::int64_t& start, std::int64_t& length) const;
    // Caret offset, digit, pane and anchor.
    const CCaretState& GetCaretState() const { return m_caret; }
    std::int64_t GetCaret() const { return m_caret.Offset(); }
    int GetNibble() const { return m_caret.Nibble(); }
    bool IsHexPane() const { return m_caret.InHexPane(); }
    std::int64_t GetAnchor() const { return m_caret.Anchor(); }
    // The first min(length, maxLength) selected bytes, read from the file.
    CByteString GetSelectedBytes(std::int64_t maxLength) const;
    // Carries a nibble step into the offset and limits both to 0 ... length.
    static void NormalizeCaret(std::int64_t& offset, int& nibble, std::int64_t length);

    // One step of the drag autoscroll timer (100 ms): the n-th step scrolls n
    // rows while the drag stays above or below the window.
    void AutoScrollTick();
    // Steps the running autoscroll has made (0 when none runs), and whether a
    // left-button drag is selecting.
    int AutoScrollTicks() const { return m_nScrollTicks; }
    bool IsDragging() const { return m_bDragging; }

    // Every occurrence of `pattern` among the shown bytes is drawn in the
    // match colour, found afresh at each paint so it follows every edit; an
    // empty pattern turns it off.
    void SetMatchHighlight(const CByteString& pattern, bool matchCase);
    const CByteString& GetMatchHighlight() const { return m_highlight; }
    // Distinct from the selection's palette colour.
    static QColor MatchColor();

    // Rows read and formatted by painting since the last reset.
    std::int64_t RowsFormatted() const { return m_nRowsFormatted; }
    void ResetRowsFormatted() { m_nRowsFormatted = 0; }

signals:
    // A typed byte went through the write hook (the edit-change notification).
    void edited();
    // The caret, its pane or the anchor moved.
    void selectionChanged();

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void OnScrollAction(int action);
    // What one change makes stale in the window (CHexGridWndChanges.cpp).
    void InvalidateChange(const CContentChange& change);
    // Every row from the one holding `offset` to the bottom, addresses included.
    void InvalidateRowsFrom(std::int64_t offset);
    void InvalidateSelection(const CCaretState& state);
    void UpdateScrollBar();
    void PaintRows(QPainter& painter, const QRegion& region);
    void PaintRow(QPainter& painter, int row, CByteRange selection);
    // Marks in m_matchMask the shown bytes that belong to an occurrence.
    void FindShownMatches();
    void PaintMatches(QPainter& painter, int row);
    void FillCells(QPainter& painter, int row, int first, int count, const QColor& background,
                   const QColor& text);

    // Keyboard and typing.
    void MoveCaret(std::int64_t offset, int nibble, bool extend);
    // Scrolls the least that brings the row of `offset` into the window.
    void ScrollIntoView(std::int64_t offset);
    void SwitchPane();
    void CollapseSelection();
    void TypeCharacter(char32_t ch, bool extend);
    // Mouse: a left-button press at `point`, extending the selection or not.
    void LeftButtonDown(QPoint point, bool extend);
    void AutoScrollStep(QPoint point, int rows);
    void StopAutoScroll();

    // The drawn caret.
    QRect CaretRect() const;
    void CaretMoved();
    void RestartCaretBlink();

    void Report(const QString& text);
    // The message for the exception being handled (call inside a catch block).
    static QString CurrentExceptionText();
    void ReportLater(const QString& text);
    void Beep();

    CPieceFile64* m_pFile = nullptr;
    QFont m_font;
    std::int64_t m_nLength = 0;
    CCaretState m_caret;
    CRowLayout m_layout;
    bool m_bHexAddress = true;
    bool m_bShowUpper = false;
    int m_nFixedColumns = 0;
    bool m_bDragging = false;
    bool m_bReadOnly = false;
    int m_nScrollTicks = 0;
    int m_nCharSet = kCharSetAscii;
    CRowFormatter m_formatter;
    CRowPainter m_painter;
    PromptHook m_promptHook;
    WriteHook m_writeHook;
    std::vector<unsigned char> m_rowBytes;
    std::vector<char> m_rowsToPaint;
    CByteString m_highlight;
    bool m_bHighlightCase = false;
    std::vector<char> m_matchMask; // one per shown byte
    std::vector<std::uint8_t> m_matchBytes;
    std::int64_t m_nRowsFormatted = 0;
    QBasicTimer m_autoScrollTimer;
    QBasicTimer m_caretTimer;
    bool m_bCaretOn = true;
    QPoint m_ptLastMouse;
    int m_nWheelDelta = 0;
    bool m_bPaintErrorShown = false;
};
