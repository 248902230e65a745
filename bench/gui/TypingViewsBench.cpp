// Typing with two 1920 x 1080 views of one document open, through the whole
// path a key press takes (grid, document, piece table, change notice, each
// view's repaint), next to the same number of full repaints of both views in
// the same run. Each typed byte repaints one row per view, so the typing
// should cost a small fraction of the full repaints.
#include "bench/gui/BenchApplication.h"
#include "display/CHexGridWnd.h"
#include "display/CQuexoView.h"
#include "document/CQuexoDoc.h"
#include "framework/PromptScript.h"
#include "storage/CPieceFile64.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kBytes = 1000;

// A document of 1 MiB of random bytes shown by two views.
struct TwoViews {
    CQuexoDoc doc;
    CQuexoView views[2];

    TwoViews() {
        doc.m_bAutoDelete = false;
        doc.OnNewDocument();
        std::vector<unsigned char> bytes(1 << 20);
        std::mt19937 random(7);
        for (auto& b : bytes)
            b = static_cast<unsigned char>(random());
        CPieceFile64& file = *doc.GetPieceFile();
        file.Insert(static_cast<std::uint32_t>(bytes.size()), 0);
        file.WriteAt(0, bytes.data(), static_cast<std::int64_t>(bytes.size()));
        for (CQuexoView& view : views) {
            view.resize(kWidth + view.GetGrid().verticalScrollBar()->sizeHint().width(), kHeight);
            doc.AddView(&view);
            view.OnInitialUpdate();
            view.show();
        }
        QCoreApplication::processEvents();
        views[1].GetGrid().ScrollTo(1024); // the typed bytes show in both
        QCoreApplication::processEvents();
    }
    ~TwoViews() {
        for (CQuexoView& view : views)
            doc.RemoveView(&view);
    }
    CHexGridWnd& Grid(int i) { return views[i].GetGrid(); }
};

TwoViews& Shared() {
    static TwoViews* shared = [] {
        EnsureBenchApplication();
        return new TwoViews; // lives until the process ends, as the application does
    }();
    return *shared;
}

// 1,000 characters typed in the character pane of the first view (one byte
// each), each key press followed by the paints it causes.
void BM_TypeThousandBytesTwoViews(benchmark::State& state) {
    TwoViews& page = Shared();
    PromptScript prompts; // a message would never block the run
    CHexGridWnd& grid = page.Grid(0);
    grid.setFocus();
    if (grid.IsHexPane()) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(&grid, &tab);
    }
    const std::int64_t start = 2003;
    if (!grid.IsOffsetVisible(start + kBytes) || !page.Grid(1).IsOffsetVisible(start)) {
        state.SkipWithError("the typed bytes must show in both views");
        return;
    }
    std::int64_t rows = 0;
    for (auto _ : state) {
        grid.SetCaret(start, true);
        grid.SetAnchor(start);
        QCoreApplication::processEvents();
        page.Grid(0).ResetRowsFormatted();
        page.Grid(1).ResetRowsFormatted();
        for (int i = 0; i < kBytes; ++i) {
            const char ch = static_cast<char>('a' + i % 26);
            QKeyEvent key(QEvent::KeyPress, Qt::Key_A + i % 26, Qt::NoModifier,
                          QString(QLatin1Char(ch)));
            QCoreApplication::sendEvent(&grid, &key);
            QCoreApplication::processEvents();
        }
        rows += page.Grid(0).RowsFormatted() + page.Grid(1).RowsFormatted();
    }
    if (grid.GetCaret() != start + kBytes || prompts.Count() != 0)
        state.SkipWithError("the bytes were not typed");
    state.counters["rows/byte"] =
        static_cast<double>(rows) / static_cast<double>(state.iterations() * kBytes);
}
BENCHMARK(BM_TypeThousandBytesTwoViews)->Unit(benchmark::kMillisecond);

// The baseline: 1,000 full repaints of both views.
void BM_RepaintThousandTimesTwoViews(benchmark::State& state) {
    TwoViews& page = Shared();
    for (auto _ : state) {
        for (int i = 0; i < kBytes; ++i) {
            page.Grid(0).viewport()->update();
            page.Grid(1).viewport()->update();
            QCoreApplication::processEvents();
        }
    }
    state.counters["rows/repaint"] = page.Grid(0).Layout().m_nRowsPerPage * 2;
}
BENCHMARK(BM_RepaintThousandTimesTwoViews)->Unit(benchmark::kMillisecond);

} // namespace
