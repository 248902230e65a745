// Clicks, drags and the drag autoscroll of the hex grid.
#include "HexGridTestSupport.h"

#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

using namespace gridtest;

namespace {

void Send(CHexGridWnd& grid, QEvent::Type type, QPoint pos,
          Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QWidget* target = grid.viewport();
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
    QMouseEvent event(type, QPointF(pos), QPointF(target->mapToGlobal(pos)), button, buttons, mods);
    QApplication::sendEvent(target, &event);
}

void Click(CHexGridWnd& grid, QPoint pos, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Send(grid, QEvent::MouseButtonPress, pos, mods);
    Send(grid, QEvent::MouseButtonRelease, pos, mods);
}

struct Hit {
    std::int64_t caret;
    bool hexPane;
    int nibble;
    bool operator==(const Hit&) const = default;
};

Hit CaretOf(const CHexGridWnd& grid) {
    return {grid.GetCaret(), grid.IsHexPane(), grid.GetNibble()};
}

} // namespace

TEST(HexGridMouse, ClicksOnAddressGapCharactersAndPastTheEnd) {
    CPieceFile64 file;
    Fill(file, Pattern(40));
    auto grid = MakeGrid(file, 16, 4);
    Click(*grid, CellCentre(*grid, 4, 1));
    EXPECT_EQ(CaretOf(*grid), (Hit{16, true, 0}));
    // The blanks before the characters: the row's last byte, hex pane.
    Click(*grid, CellCentre(*grid, grid->Layout().m_nCharColumn - 1, 1));
    EXPECT_EQ(CaretOf(*grid), (Hit{31, true, 0}));
    Click(*grid, CellCentre(*grid, grid->Layout().m_nCharColumn - 2, 1));
    EXPECT_EQ(CaretOf(*grid), (Hit{31, true, 1}));
    Click(*grid, CellCentre(*grid, grid->Layout().m_nCharColumn + 3, 0));
    EXPECT_EQ(CaretOf(*grid), (Hit{3, false, 0}));
    // Past the short last row and below it: the end position.
    Click(*grid, CellCentre(*grid, grid->Layout().HexColumn() + 3 * 12, 2));
    EXPECT_EQ(CaretOf(*grid), (Hit{40, true, 0}));
    Click(*grid, CellCentre(*grid, grid->Layout().m_nCharColumn + 1, 3));
    EXPECT_EQ(CaretOf(*grid), (Hit{40, false, 0}));
    int64_t start = 0, length = 0;
    grid->GetSelection(start, length);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(grid->GetTop(), 0); // a click never scrolls
}

TEST(HexGridMouse, ShiftClickAndDragSelect) {
    CPieceFile64 file;
    Fill(file, Pattern(100));
    auto grid = MakeGrid(file, 16, 4);
    Click(*grid, CellCentre(*grid, grid->Layout().HexColumn() + 3 * 2, 0));
    Click(*grid, CellCentre(*grid, grid->Layout().HexColumn() + 3 * 5, 2), Qt::ShiftModifier);
    std::int64_t start = 0, length = 0;
    grid->GetSelection(start, length);
    EXPECT_EQ(start, 2);
    EXPECT_EQ(length, 35);
    // A drag inside the window moves the caret and keeps the anchor.
    Send(*grid, QEvent::MouseButtonPress, CellCentre(*grid, grid->Layout().m_nCharColumn + 1, 1));
    Send(*grid, QEvent::MouseMove, CellCentre(*grid, grid->Layout().m_nCharColumn + 9, 3));
    Send(*grid, QEvent::MouseButtonRelease, CellCentre(*grid, grid->Layout().m_nCharColumn + 9, 3));
    grid->GetSelection(start, length);
    EXPECT_EQ(start, 17);
    EXPECT_EQ(length, 40);
    // Moves without the button do nothing.
    Send(*grid, QEvent::MouseMove, CellCentre(*grid, grid->Layout().m_nCharColumn + 2, 0));
    EXPECT_EQ(grid->GetCaret(), 57);
}

TEST(HexGridMouse, TenAutoscrollTicksMoveFiftyFiveRows) {
    CPieceFile64 file;
    Fill(file, Pattern(16 * 200));
    auto grid = MakeGrid(file, 16, 10);
    const int below = grid->viewport()->height() + 5;
    const int x = grid->Layout().CellX(grid->Layout().HexColumn() + 3 * 4) + 1;
    Send(*grid, QEvent::MouseButtonPress, CellCentre(*grid, grid->Layout().HexColumn(), 0));
    Send(*grid, QEvent::MouseMove, QPoint(x, below)); // first step at once
    EXPECT_EQ(grid->GetTop(), 16);
    EXPECT_EQ(grid->AutoScrollTicks(), 2);
    for (int tick = 2; tick <= 10; ++tick)
        grid->AutoScrollTick();
    EXPECT_EQ(grid->GetTop(), 55 * 16);
    // The selection reaches the cell under the cursor, on the last visible row.
    EXPECT_EQ(grid->GetAnchor(), 0);
    EXPECT_EQ(grid->GetCaret(), 55 * 16 + 9 * 16 + 4);
    // Back inside: the next tick stops the timer.
    Send(*grid, QEvent::MouseMove, CellCentre(*grid, 20, 5));
    grid->AutoScrollTick();
    EXPECT_EQ(grid->AutoScrollTicks(), 0);
    EXPECT_EQ(grid->GetTop(), 55 * 16);
    // Above the window it scrolls up; releasing the button stops it.
    Send(*grid, QEvent::MouseMove, QPoint(x, -3));
    EXPECT_EQ(grid->GetTop(), 54 * 16);
    grid->AutoScrollTick();
    EXPECT_EQ(grid->GetTop(), 52 * 16);
    EXPECT_EQ(grid->GetCaret(), 52 * 16 + 4);
    Send(*grid, QEvent::MouseButtonRelease, QPoint(x, -3));
    grid->AutoScrollTick();
    EXPECT_EQ(grid->AutoScrollTicks(), 0);
    EXPECT_EQ(grid->GetTop(), 52 * 16);
}

TEST(HexGridMouse, EscapeEndsTheDragAndItsAutoscroll) {
    CPieceFile64 file;
    Fill(file, Pattern(16 * 200));
    auto grid = MakeGrid(file, 16, 10);
    Send(*grid, QEvent::MouseButtonPress, CellCentre(*grid, grid->Layout().HexColumn(), 0));
    Send(*grid, QEvent::MouseMove, QPoint(40, grid->viewport()->height() + 5));
    EXPECT_EQ(grid->GetTop(), 16);
    QTest::keyClick(grid.get(), Qt::Key_Escape);
    EXPECT_FALSE(grid->IsDragging());
    grid->AutoScrollTick();
    EXPECT_EQ(grid->AutoScrollTicks(), 0);
    EXPECT_EQ(grid->GetTop(), 16);
    std::int64_t start = 0, length = 0;
    grid->GetSelection(start, length);
    EXPECT_EQ(length, 0);
    // Later moves with the button still held no longer select.
    Send(*grid, QEvent::MouseMove, CellCentre(*grid, 30, 3));
    grid->GetSelection(start, length);
    EXPECT_EQ(length, 0);
}

TEST(HexGridMouse, WheelScrollsRows) {
    CPieceFile64 file;
    Fill(file, Pattern(16 * 200));
    auto grid = MakeGrid(file, 16, 10);
    const QPoint pos = CellCentre(*grid, 20, 2);
    QWheelEvent down(QPointF(pos), QPointF(grid->viewport()->mapToGlobal(pos)), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid->viewport(), &down);
    EXPECT_EQ(grid->GetTop(), 16 * QApplication::wheelScrollLines());
    EXPECT_EQ(grid->GetCaret(), 0);
}
