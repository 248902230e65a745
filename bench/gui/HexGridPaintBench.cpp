// Painting cost of the hex grid on a 1920 x 1080 client area with the default
// 13-pixel font, next to a baseline measured in the same run: the same rows'
// text drawn with one plain drawText call per row (no reading, no formatting).
#include "bench/gui/BenchApplication.h"
#include "display/CHexGridWnd.h"
#include "display/RowFormatter.h"
#include "storage/CPieceFile64.h"

#include <QApplication>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

struct Page {
    CPieceFile64 file;
    std::unique_ptr<CHexGridWnd> grid;

    Page() {
        EnsureBenchApplication();
        std::vector<unsigned char> bytes(1 << 20);
        std::mt19937 random(7);
        for (auto& b : bytes)
            b = static_cast<unsigned char>(random());
        file.Insert(static_cast<std::uint32_t>(bytes.size()), 0);
        file.Seek(0, CFile64::begin);
        file.Write(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        grid = std::make_unique<CHexGridWnd>();
        grid->resize(kWidth + grid->verticalScrollBar()->sizeHint().width(), kHeight);
        grid->SetFile(&file, false);
        grid->show();
        QCoreApplication::processEvents();
        grid->ScrollTo(4096);
    }
};

// Never destroyed: at exit Qt's own statics go before ours, and a window
// destroyed after them crashes.
Page& SharedPage() {
    static Page* page = new Page;
    return *page;
}

void BM_GridFullPage(benchmark::State& state) {
    Page& page = SharedPage();
    QWidget* client = page.grid->viewport();
    QImage image(client->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        client->render(&image);
        benchmark::ClobberMemory();
    }
    state.counters["rows"] = page.grid->Layout().m_nRowsPerPage;
    state.counters["bytes/row"] = page.grid->Layout().m_nBytesPerRow;
}
BENCHMARK(BM_GridFullPage)->Unit(benchmark::kMillisecond);

// The same page with every occurrence of a byte highlighted (about one byte in
// 256 of the random content, so each row has some); the difference from
// BM_GridFullPage is what highlighting adds to a paint.
void BM_GridFullPageHighlighted(benchmark::State& state) {
    Page& page = SharedPage();
    QWidget* client = page.grid->viewport();
    page.grid->SetMatchHighlight(CByteString(1, 'A'), false);
    QImage image(client->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        client->render(&image);
        benchmark::ClobberMemory();
    }
    page.grid->SetMatchHighlight({}, false);
}
BENCHMARK(BM_GridFullPageHighlighted)->Unit(benchmark::kMillisecond);

void BM_BaselineDrawTextPage(benchmark::State& state) {
    Page& page = SharedPage();
    CHexGridWnd& grid = *page.grid;
    // The rows the grid shows, formatted once, outside the timing.
    CRowFormatter formatter;
    formatter.Configure(grid.Layout().m_nBytesPerRow, grid.Layout().m_nAddressDigits, true, false,
                        kCharSetAscii);
    std::vector<QString> rows;
    std::vector<unsigned char> bytes(static_cast<size_t>(grid.Layout().m_nBytesPerRow));
    unsigned char line[CRowLayout::kMaxRowCells];
    for (int r = 0; r < grid.Layout().m_nRowsPerPage; ++r) {
        const std::int64_t offset =
            grid.GetTop() + static_cast<std::int64_t>(r) * grid.Layout().m_nBytesPerRow;
        page.file.Seek(offset, CFile64::begin);
        const auto n = static_cast<int>(
            page.file.Read(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
        const int cells = formatter.Format(line, offset, true, bytes.data(), n);
        rows.push_back(QString::fromLatin1(reinterpret_cast<const char*>(line), cells));
    }
    const QFont font = grid.DisplayFont();
    const int ascent = QFontMetrics(font).ascent();
    QImage image(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(image.rect(), Qt::white);
        painter.setFont(font);
        painter.setPen(Qt::black);
        for (int r = 0; r < static_cast<int>(rows.size()); ++r)
            painter.drawText(QPoint(3, 2 + r * grid.Layout().m_nCharHeight + ascent),
                             rows[static_cast<size_t>(r)]);
        painter.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_BaselineDrawTextPage)->Unit(benchmark::kMillisecond);

// A one-row scroll as the window system sees it: the pixels move in the backing
// store and the paint event covers the uncovered row.
void BM_GridScrollOneRow(benchmark::State& state) {
    Page& page = SharedPage();
    CHexGridWnd& grid = *page.grid;
    const std::int64_t top = grid.GetTop();
    bool down = true;
    grid.ResetRowsFormatted();
    for (auto _ : state) {
        grid.ScrollTo(down ? top + grid.Layout().m_nBytesPerRow : top);
        down = !down;
        QCoreApplication::processEvents();
    }
    state.counters["rows/scroll"] =
        static_cast<double>(grid.RowsFormatted()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GridScrollOneRow)->Unit(benchmark::kMicrosecond);

// The painting part of a one-row scroll: the grid's own work (new top, the one
// uncovered row read, formatted and drawn), on a grid without a window so no
// backing store moves pixels.
void BM_GridScrollOneRowPaint(benchmark::State& state) {
    Page& page = SharedPage();
    CHexGridWnd grid;
    grid.setAttribute(Qt::WA_DontShowOnScreen);
    grid.resize(page.grid->size());
    grid.SetFile(&page.file, false);
    grid.show();
    grid.ScrollTo(4096);
    QImage image(grid.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    const std::int64_t top = grid.GetTop();
    const QRegion firstRow(0, grid.Layout().RowY(0), image.width(), grid.Layout().m_nCharHeight);
    bool down = true;
    grid.ResetRowsFormatted();
    for (auto _ : state) {
        grid.ScrollTo(down ? top + grid.Layout().m_nBytesPerRow : top);
        down = !down;
        grid.viewport()->render(&image, QPoint(), firstRow);
        benchmark::ClobberMemory();
    }
    state.counters["rows/scroll"] =
        static_cast<double>(grid.RowsFormatted()) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GridScrollOneRowPaint)->Unit(benchmark::kMicrosecond);

// What moving the pixels of a 1920 x 1080 client area up by one row costs in
// memory, the floor of any software scroll.
void BM_MovePagePixels(benchmark::State& state) {
    EnsureBenchApplication();
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    const int row = 15;
    const auto bytes = static_cast<size_t>(image.bytesPerLine()) * (kHeight - row);
    for (auto _ : state) {
        std::memmove(image.bits(), image.constBits() + image.bytesPerLine() * row, bytes);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MovePagePixels)->Unit(benchmark::kMicrosecond);

// The full page through the same path as BM_GridScrollOneRow.
void BM_GridFullPageRepaint(benchmark::State& state) {
    Page& page = SharedPage();
    for (auto _ : state) {
        page.grid->viewport()->update();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_GridFullPageRepaint)->Unit(benchmark::kMillisecond);

void BM_FormatRow16(benchmark::State& state) {
    CRowFormatter formatter;
    formatter.Configure(16, 11, true, false, kCharSetAscii);
    unsigned char bytes[16];
    for (int i = 0; i < 16; ++i)
        bytes[i] = static_cast<unsigned char>(i * 37 + 5);
    unsigned char line[CRowLayout::kMaxRowCells];
    std::int64_t address = 0x12340;
    for (auto _ : state) {
        benchmark::DoNotOptimize(formatter.Format(line, address, true, bytes, 16));
        benchmark::ClobberMemory();
        address += 16;
    }
}
BENCHMARK(BM_FormatRow16);

} // namespace
