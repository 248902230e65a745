// Find next through the view (the command, its progress and cancel check, the
// selection of the match) against CPieceFile64::Find alone, on the same cached
// 1 GiB file in the same run. The match is at the very end, so both read the
// whole file.
#include "bench/gui/BenchApplication.h"
#include "commands/FindCommands.h"
#include "display/CQuexoView.h"
#include "document/CQuexoDoc.h"
#include "framework/PromptScript.h"
#include "storage/CPieceFile64.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kFileSize = std::int64_t{1} << 30;
const CByteString kNeedle = "Quexo needle";

// The file, written once and read once so it is in the page cache.
const std::string& LargeFile() {
    static const std::string path = [] {
        const std::string name = QDir::tempPath().toStdString() + "/quexo_find_bench.bin";
        std::FILE* out = std::fopen(name.c_str(), "wb");
        std::vector<char> block(1 << 20);
        std::mt19937 random(11);
        for (char& c : block)
            c = static_cast<char>('a' + random() % 26); // text: many first-byte hits
        for (std::int64_t done = 0; done < kFileSize; done += std::int64_t(block.size())) {
            if (done + std::int64_t(block.size()) >= kFileSize)
                std::copy(kNeedle.begin(), kNeedle.end(),
                          block.end() - std::ptrdiff_t(kNeedle.size()));
            std::fwrite(block.data(), 1, block.size(), out);
        }
        std::fclose(out);
        std::atexit([] {
            std::remove((QDir::tempPath().toStdString() + "/quexo_find_bench.bin").c_str());
        });
        return name;
    }();
    return path;
}

void BM_PieceFileFind(benchmark::State& state) {
    CPieceFile64 file;
    file.Open(LargeFile().c_str(), CFile64::modeRead | CFile64::shareDenyWrite);
    for (auto _ : state) {
        const std::int64_t at = file.Find(kNeedle, 1, 1, 0, -1);
        if (at != kFileSize - std::int64_t(kNeedle.size()))
            state.SkipWithError("needle not found");
        benchmark::DoNotOptimize(at);
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}
BENCHMARK(BM_PieceFileFind)->Unit(benchmark::kMillisecond)->MinTime(3);

void BM_FindNextThroughView(benchmark::State& state) {
    EnsureBenchApplication();
    PromptScript prompts; // a message would never block the run
    CQuexoDoc doc;
    doc.AttachFile(std::make_unique<CPieceFile64>());
    doc.GetPieceFile()->Open(LargeFile().c_str(), CFile64::modeRead | CFile64::shareDenyWrite);
    doc.m_bAutoDelete = false;
    CQuexoView view;
    view.resize(800, 600);
    doc.AddView(&view);
    view.OnInitialUpdate();
    view.show();
    QCoreApplication::processEvents();
    CByteString bytes = kNeedle;
    bool matchCase = true;
    bool down = true;
    const CFindState search{bytes, matchCase, down};
    for (auto _ : state) {
        view.SetPlace({0, 0});
        FindCommands::OnEditFindNext(doc, view, search);
        if (view.GetPlace().anchor != kFileSize - std::int64_t(kNeedle.size()) ||
            prompts.Count() != 0)
            state.SkipWithError("needle not selected");
    }
    state.SetBytesProcessed(state.iterations() * kFileSize);
}
BENCHMARK(BM_FindNextThroughView)->Unit(benchmark::kMillisecond)->MinTime(3);

} // namespace
