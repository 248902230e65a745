// Layout, painting and scrolling of the hex grid.
#include "HexGridTestSupport.h"

#include "platform/FaultInjection.h"

#include <QImage>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace gridtest;

namespace {

QImage Render(CHexGridWnd& grid) {
    QImage image(grid.size(), QImage::Format_RGB32);
    grid.render(&image);
    return image;
}

QImage CellImage(const QImage& image, const CHexGridWnd& grid, int cell, int row, int cells = 1) {
    return image.copy(grid.Layout().CellX(cell), grid.Layout().RowY(row),
                      cells * grid.Layout().m_nCharWidth, grid.Layout().m_nCharHeight);
}

// Pixels of a colour in the given cells of a row.
int CountColour(const QImage& image, const CHexGridWnd& grid, int cell, int row, int cells,
                QColor colour) {
    const QImage part = CellImage(image, grid, cell, row, cells);
    int n = 0;
    for (int y = 0; y < part.height(); ++y) {
        for (int x = 0; x < part.width(); ++x)
            n += part.pixelColor(x, y) == colour ? 1 : 0;
    }
    return n;
}

// Pixels that are not the background in the given cells.
int Ink(const QImage& image, const CHexGridWnd& grid, int cell, int row, int cells) {
    const int all = cells * grid.Layout().m_nCharWidth * grid.Layout().m_nCharHeight;
    return all - CountColour(image, grid, cell, row, cells, QColor(255, 255, 255));
}

void ShowUnfocused(CHexGridWnd& grid) {
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.clearFocus();
    QCoreApplication::processEvents();
}

void ShowFocused(CHexGridWnd& grid) {
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    grid.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&grid));
    grid.setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(grid.hasFocus());
}

class FailingReads : public platform::FaultInjector {
public:
    int Before(platform::FileOp op, const std::string&, std::int64_t*) override {
        return op == platform::FileOp::Read ? EIO : 0;
    }
};

} // namespace

TEST(HexGridLayout, BytesPerRowFollowTheWidth) {
    CPieceFile64 file;
    Fill(file, Pattern(100));
    CHexGridWnd grid;
    grid.SetFile(&file, false);
    grid.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    const int bar = grid.verticalScrollBar()->sizeHint().width();
    grid.resize(60 + bar, 200);
    EXPECT_EQ(grid.Layout().m_nBytesPerRow, 1);
    EXPECT_EQ(grid.Layout().m_nCharColumn, 17);
    grid.resize(3 + 79 * grid.Layout().m_nCharWidth + bar, 200);
    EXPECT_EQ(grid.Layout().m_nBytesPerRow, 16);
    EXPECT_EQ(grid.Layout().m_nCharColumn, 62);
    EXPECT_EQ(grid.Layout().m_nRowsPerPage,
              (grid.viewport()->height() - 2) / grid.Layout().m_nCharHeight);
    grid.SetFixedColumns(1000);
    EXPECT_EQ(grid.Layout().m_nBytesPerRow, 252);
    grid.SetFixedColumns(0);
    EXPECT_EQ(grid.Layout().m_nBytesPerRow, 16);
}

TEST(HexGridLayout, DefaultFontIsAThirteenPixelMonospace) {
    CHexGridWnd grid;
    EXPECT_EQ(grid.DisplayFont().pixelSize(), 13);
    EXPECT_TRUE(QFontInfo(grid.DisplayFont()).fixedPitch());
    EXPECT_GE(grid.Layout().m_nCharHeight, 13);
    QFont big = CHexGridWnd::DefaultFont();
    big.setPixelSize(26);
    const int oldWidth = grid.Layout().m_nCharWidth;
    grid.SetDisplayFont(big);
    EXPECT_GT(grid.Layout().m_nCharWidth, oldWidth);
}

TEST(HexGridPaint, SavesAPictureOfAKnownFile) {
    CPieceFile64 file;
    std::vector<unsigned char> bytes = Pattern(300);
    const char text[] = "Quexo shows bytes";
    std::copy(text, text + sizeof text - 1, bytes.begin() + 0xA0);
    Fill(file, bytes);
    auto grid = MakeGrid(file, 16, 12);
    ShowFocused(*grid);
    grid->SetCaret(0x25, true);
    grid->SetAnchor(0x13);
    EXPECT_TRUE(Render(*grid).save(QUEXO_BUILD_DIR "/hexgrid.png"));
}

TEST(HexGridPaint, CharacterColumnFollowsShowUpperAndCharSet) {
    CPieceFile64 file;
    Fill(file, {0x7F, 0x2E, 0xC1, 0x41, 0x25, 0x40, 0x20});
    auto grid = MakeGrid(file, 8, 2);
    const int c = grid->Layout().m_nCharColumn;
    QImage image = Render(*grid);
    EXPECT_EQ(CellImage(image, *grid, c + 0, 0), CellImage(image, *grid, c + 1, 0));
    grid->SetShowUpper(true);
    image = Render(*grid);
    EXPECT_NE(CellImage(image, *grid, c + 0, 0), CellImage(image, *grid, c + 1, 0));
    const QImage asciiA = CellImage(image, *grid, c + 3, 0);
    const QImage dot = CellImage(image, *grid, c + 1, 0);
    const QImage blank = CellImage(image, *grid, c + 6, 0);
    grid->SetCharSet(kCharSetEbcdic);
    image = Render(*grid);
    EXPECT_EQ(CellImage(image, *grid, c + 2, 0), asciiA); // 0xC1
    EXPECT_EQ(CellImage(image, *grid, c + 4, 0), dot);    // 0x25 becomes 0x0A
    EXPECT_EQ(CellImage(image, *grid, c + 5, 0), blank);  // 0x40
}

TEST(HexGridPaint, EmptyFileShowsOneRowWithAddressZero) {
    CPieceFile64 file;
    auto grid = MakeGrid(file, 16, 4);
    EXPECT_FALSE(grid->verticalScrollBar()->isEnabled());
    const QImage image = Render(*grid);
    EXPECT_GT(Ink(image, *grid, 0, 0, 11), 0);
    EXPECT_EQ(Ink(image, *grid, 0, 1, 11), 0);
    EXPECT_EQ(Ink(image, *grid, 11, 0, 67), 0);
}

TEST(HexGridPaint, EndOfAFileOfWholeRowsIsAnEmptyRowWithoutAddress) {
    CPieceFile64 file;
    Fill(file, Pattern(64));
    auto grid = MakeGrid(file, 16, 4); // exactly one page
    EXPECT_TRUE(grid->verticalScrollBar()->isEnabled());
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(grid->GetCaret(), 64);
    EXPECT_EQ(grid->GetTop(), 16);
    const QImage image = Render(*grid);
    EXPECT_GT(Ink(image, *grid, 0, 2, 11), 0);
    EXPECT_EQ(Ink(image, *grid, 0, 3, 78), 0);
}

TEST(HexGridPaint, WideOffsetsWidenTheAddressColumn) {
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/big.bin").toStdString();
    std::ofstream(path).close();
    std::filesystem::resize_file(path, 100000000000 + 20); // sparse
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), 0x20));
    auto grid = MakeGrid(file, 16, 4);
    EXPECT_EQ(grid->Layout().m_nAddressDigits, 11);
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    grid->SetHexAddress(false);
    Render(*grid);
    EXPECT_EQ(grid->Layout().m_nAddressDigits, 12);
    EXPECT_EQ(grid->Layout().HexColumn(), 14);
    EXPECT_EQ(grid->Layout().m_nCharColumn, 3 * 16 + 15);
    EXPECT_EQ(grid->Layout().m_nBytesPerRow, 16);
    grid->SetHexAddress(true);
    EXPECT_EQ(grid->Layout().m_nAddressDigits, 11);
}

TEST(HexGridScroll, OneRowMovesPixelsAndPaintsOneRowAPageRepaintsAll) {
    CPieceFile64 file;
    Fill(file, Pattern(4096));
    auto grid = MakeGrid(file, 16, 10);
    ShowUnfocused(*grid);
    QScrollBar* bar = grid->verticalScrollBar();

    grid->ResetRowsFormatted();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->GetTop(), 16);
    EXPECT_EQ(grid->RowsFormatted(), 1);
    // What is on screen equals a fresh paint of the new top.
    const QRect client = grid->viewport()->geometry();
    const QImage shown = grid->screen()->grabWindow(grid->winId()).toImage().copy(client);
    const QImage fresh = Render(*grid).copy(client);
    EXPECT_EQ(shown.convertToFormat(QImage::Format_RGB32), fresh);

    grid->ResetRowsFormatted();
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->GetTop(), 0);
    EXPECT_EQ(grid->RowsFormatted(), 1);

    grid->ResetRowsFormatted();
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->GetTop(), 160);
    EXPECT_EQ(grid->RowsFormatted(), 10);
}

TEST(HexGridScroll, LineUpAtTheStartAndLineDownAtTheEndDoNothing) {
    CPieceFile64 file;
    Fill(file, Pattern(200));
    auto grid = MakeGrid(file, 16, 10);
    ShowUnfocused(*grid);
    QScrollBar* bar = grid->verticalScrollBar();
    grid->ResetRowsFormatted();
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->GetTop(), 0);
    EXPECT_EQ(grid->RowsFormatted(), 0);
    EXPECT_EQ(bar->value(), 0);

    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->GetTop(), 48); // rows 48 ... 192 hold the end position 200
    const int position = bar->value();
    grid->ResetRowsFormatted();
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->GetTop(), 48);
    EXPECT_EQ(grid->RowsFormatted(), 0);
    EXPECT_EQ(bar->value(), position);
}

TEST(HexGridScroll, ThumbReachesEveryThousandthOfAFileAbove4GiB) {
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/sparse.bin").toStdString();
    std::ofstream(path).close();
    const std::int64_t length = (std::int64_t{5} << 30) + 1234;
    std::filesystem::resize_file(path, length);
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), 0x20));
    auto grid = MakeGrid(file, 16, 10);
    QScrollBar* bar = grid->verticalScrollBar();
    ASSERT_TRUE(bar->isEnabled());
    ASSERT_EQ(bar->maximum(), 1000);
    const std::int64_t lastTop = length - 160 + 16 - (length - 160 + 16) % 16;
    for (int k = 1; k <= 1000; ++k) {
        bar->setSliderPosition(k);
        const std::int64_t wanted = length / 1000 * k + length % 1000 * k / 1000;
        const std::int64_t top = grid->GetTop();
        ASSERT_EQ(top % 16, 0) << k;
        if (wanted >= lastTop)
            ASSERT_EQ(top, lastTop) << k;
        else
            ASSERT_TRUE(top <= wanted && wanted < top + 16) << k << " " << top;
    }
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(grid->GetTop(), 0);
    EXPECT_EQ(bar->value(), 0);
}

TEST(HexGridScroll, ThumbAtTheBottomShowsTheEndOfASmallFile) {
    CPieceFile64 file;
    Fill(file, Pattern(1000));
    auto grid = MakeGrid(file, 16, 10);
    QScrollBar* bar = grid->verticalScrollBar();
    bar->setSliderPosition(bar->maximum());
    EXPECT_EQ(grid->GetTop(), 848);
    EXPECT_TRUE(grid->IsOffsetVisible(1000));
}

TEST(HexGridPaint, MirrorNeedsTheFocusTheSelectionDoesNot) {
    CPieceFile64 file;
    Fill(file, Pattern(64));
    auto grid = MakeGrid(file, 16, 4);
    grid->setPalette(DistinctPalette());
    ShowFocused(*grid);
    grid->SetCaret(20, false); // row 1, column 4, hex pane
    grid->SetAnchor(18);
    const QColor button(0, 180, 0), highlight(0, 0, 200), text(0, 0, 0);
    const int mirror = grid->Layout().m_nCharColumn + 4;
    const int caret = grid->Layout().HexColumn() + 12;
    QImage image = Render(*grid);
    EXPECT_GT(CountColour(image, *grid, mirror, 1, 1, button), 0);
    EXPECT_GT(CountColour(image, *grid, grid->Layout().HexColumn() + 6, 1, 1, highlight), 0);
    EXPECT_GT(CountColour(image, *grid, grid->Layout().m_nCharColumn + 2, 1, 1, highlight), 0);
    EXPECT_GT(CountColour(image, *grid, caret, 1, 1, text), grid->Layout().m_nCharHeight * 2);

    grid->clearFocus();
    QCoreApplication::processEvents();
    image = Render(*grid);
    EXPECT_EQ(CountColour(image, *grid, mirror, 1, 1, button), 0);
    EXPECT_LT(CountColour(image, *grid, caret, 1, 1, text), grid->Layout().m_nCharHeight * 2);
    EXPECT_GT(CountColour(image, *grid, grid->Layout().HexColumn() + 6, 1, 1, highlight), 0);
    EXPECT_GT(CountColour(image, *grid, grid->Layout().m_nCharColumn + 2, 1, 1, highlight), 0);
    // In the character pane the mirror is the pair in the hex pane.
    ShowFocused(*grid);
    QTest::keyClick(grid.get(), Qt::Key_Tab);
    EXPECT_FALSE(grid->IsHexPane());
    image = Render(*grid);
    EXPECT_GT(CountColour(image, *grid, caret, 1, 2, button), 0);
    EXPECT_EQ(CountColour(image, *grid, mirror, 1, 1, button), 0);
}

TEST(HexGridPaint, PaletteChangeRepaintsEverything) {
    CPieceFile64 file;
    Fill(file, Pattern(64));
    auto grid = MakeGrid(file, 16, 4);
    ShowUnfocused(*grid);
    grid->ResetRowsFormatted();
    QPalette pal = DistinctPalette();
    pal.setColor(QPalette::Base, QColor(250, 240, 200));
    grid->setPalette(pal);
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->RowsFormatted(), 4);
    EXPECT_EQ(Render(*grid).pixelColor(1, 1), QColor(250, 240, 200));
}

TEST(HexGridPaint, ReadErrorsAreReportedOnceAndNeverEscape) {
    QTemporaryDir dir;
    const std::string path = (dir.path() + "/data.bin").toStdString();
    std::ofstream(path) << "some bytes to show";
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), 0x20));
    auto grid = MakeGrid(file, 16, 4);
    QStringList messages;
    grid->SetPromptHook([&](const QString& text) { messages << text; });
    FailingReads failing;
    platform::FaultInjector* previous = platform::SetFaultInjector(&failing);
    Render(*grid);
    Render(*grid);
    platform::SetFaultInjector(previous);
    QCoreApplication::processEvents();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("data.bin")) << messages[0].toStdString();
}
