// Piece-table editing and reading: typing, work on a table of 10,000 pieces,
// a sequential read of 1 GiB next to plain pread of the same file, undo and
// redo next to the edits they revert, and reads of an old version.
#include "storage/CPieceFile64.h"
#include "storage/CSourceFile.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr unsigned kReadWrite = CFile64::modeReadWrite | CFile64::shareDenyWrite;

// A scratch file in the temporary folder, removed when the benchmark ends.
class ScratchFile {
public:
    ScratchFile(const char* name, std::int64_t length, bool randomContent) {
        m_path = std::string("/tmp/quexo-bench-") + std::to_string(::getpid()) + "-" + name;
        const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::ftruncate(fd, length) != 0)
            std::perror("bench file");
        if (randomContent) {
            std::mt19937_64 rng(1);
            std::vector<std::uint64_t> block(1 << 17);
            for (std::int64_t at = 0; at < length;) {
                for (auto& word : block)
                    word = rng();
                const auto chunk = std::min<std::int64_t>(length - at, 1 << 20);
                if (::pwrite(fd, block.data(), static_cast<size_t>(chunk), at) != chunk)
                    std::perror("bench file");
                at += chunk;
            }
        }
        ::close(fd);
    }
    ~ScratchFile() { ::unlink(m_path.c_str()); }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

void BM_TypingForward(benchmark::State& state) {
    ScratchFile scratch("typing", 10 << 20, true);
    CPieceFile64 file;
    file.Open(scratch.Path().c_str(), kReadWrite);
    std::int64_t pos = 1000;
    for (auto _ : state) {
        file.Seek(pos, CFile64::begin);
        file.Write("7", 1);
        pos = pos + 1 < file.GetLength() ? pos + 1 : 1000;
    }
    state.counters["pieces"] = file.GetPieceCount();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TypingForward)->MinTime(0.3);

// The same typing with the history recording one run of typing.
void BM_TypingForwardRecorded(benchmark::State& state) {
    ScratchFile scratch("typing-recorded", 10 << 20, true);
    CPieceFile64 file;
    file.Open(scratch.Path().c_str(), kReadWrite);
    file.EnableHistory(true);
    file.BeginStep();
    std::int64_t pos = 1000;
    for (auto _ : state) {
        file.Seek(pos, CFile64::begin);
        file.Write("7", 1);
        pos = pos + 1 < file.GetLength() ? pos + 1 : 1000;
    }
    file.EndStep();
    state.counters["pieces"] = file.GetPieceCount();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TypingForwardRecorded)->MinTime(0.3);

// A 64 MiB file cut into about 10,000 pieces by random inserts and deletes.
struct ManyPieces {
    ManyPieces() : scratch("pieces", 64 << 20, true) {
        file.Open(scratch.Path().c_str(), kReadWrite);
        while (file.GetPieceCount() < 10000) {
            file.Seek(
                static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(file.GetLength())),
                CFile64::begin);
            if (rng() % 2)
                file.Insert(1 + static_cast<std::uint32_t>(rng() % 16), 0x55);
            else
                file.Delete(1 + static_cast<std::int64_t>(rng() % 16));
        }
    }
    std::int64_t RandomOffset() {
        return static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(file.GetLength()));
    }
    ScratchFile scratch;
    CPieceFile64 file;
    std::mt19937_64 rng{5};
};

void BM_ManyPiecesRead(benchmark::State& state) {
    ManyPieces table;
    char row[32];
    for (auto _ : state) {
        table.file.Seek(table.RandomOffset(), CFile64::begin);
        benchmark::DoNotOptimize(table.file.Read(row, sizeof row));
    }
    state.counters["pieces"] = table.file.GetPieceCount();
}
BENCHMARK(BM_ManyPiecesRead)->Unit(benchmark::kMicrosecond)->Iterations(20000);

void BM_ManyPiecesOverwrite(benchmark::State& state) {
    ManyPieces table;
    for (auto _ : state) {
        table.file.Seek(table.RandomOffset() / 2, CFile64::begin);
        table.file.Write("ow", 2);
    }
    state.counters["pieces"] = table.file.GetPieceCount();
}
BENCHMARK(BM_ManyPiecesOverwrite)->Unit(benchmark::kMicrosecond)->Iterations(2000);

void BM_ManyPiecesInsert(benchmark::State& state) {
    ManyPieces table;
    for (auto _ : state) {
        table.file.Seek(table.RandomOffset(), CFile64::begin);
        table.file.Insert(1, 0x49);
    }
    state.counters["pieces"] = table.file.GetPieceCount();
}
BENCHMARK(BM_ManyPiecesInsert)->Unit(benchmark::kMicrosecond)->Iterations(2000);

// 1 GiB read in 64 KiB blocks through the piece table, next to pread of the
// same (sparse, so cached) file; "ratio" is the table's speed over pread's.
void BM_SequentialRead1GiB(benchmark::State& state) {
    constexpr std::int64_t kLength = std::int64_t{1} << 30;
    constexpr std::uint32_t kChunk = 65536;
    ScratchFile scratch("sequential", kLength, false);
    CPieceFile64 file;
    file.Open(scratch.Path().c_str(), kReadWrite);
    const int fd = ::open(scratch.Path().c_str(), O_RDONLY);
    std::vector<char> buffer(kChunk);
    // The first pass over a hole fills the page cache; measure cached reads only.
    for (std::int64_t at = 0; at < kLength; at += kChunk)
        benchmark::DoNotOptimize(::pread(fd, buffer.data(), kChunk, at));
    double tableSeconds = 0;
    double rawSeconds = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        for (std::int64_t at = 0; at < kLength; at += kChunk)
            benchmark::DoNotOptimize(::pread(fd, buffer.data(), kChunk, at));
        auto t1 = std::chrono::steady_clock::now();
        file.Seek(0, CFile64::begin);
        while (file.Read(buffer.data(), kChunk) != 0)
            benchmark::ClobberMemory();
        auto t2 = std::chrono::steady_clock::now();
        rawSeconds += std::chrono::duration<double>(t1 - t0).count();
        const double table = std::chrono::duration<double>(t2 - t1).count();
        tableSeconds += table;
        state.SetIterationTime(table);
    }
    ::close(fd);
    state.SetBytesProcessed(state.iterations() * kLength);
    state.counters["ratio"] = rawSeconds / tableSeconds;
}
BENCHMARK(BM_SequentialRead1GiB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(4);

// Deleting 1 byte or 1 GiB at a random place of a 2 GiB file cut into 10,000
// pieces, then undoing and redoing the delete. "undo" and "redo" are their
// times over the delete's, measured side by side.
void BM_UndoRedoDelete(benchmark::State& state) {
    const std::int64_t range = state.range(0);
    ScratchFile scratch("undo", std::int64_t{2} << 30, false);
    CPieceFile64 file;
    file.Open(scratch.Path().c_str(), kReadWrite);
    std::mt19937_64 rng(3);
    const auto randomOffset = [&](std::int64_t below) {
        return static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(below));
    };
    while (file.GetPieceCount() < 10000) {
        file.Seek(randomOffset(file.GetLength()), CFile64::begin);
        file.Insert(1 + static_cast<std::uint32_t>(rng() % 16), 0x55);
    }
    file.EnableHistory(true);
    double edit = 0, undo = 0, redo = 0;
    for (auto _ : state) {
        file.Seek(randomOffset(file.GetLength() - range), CFile64::begin);
        const auto t0 = std::chrono::steady_clock::now();
        file.Delete(range);
        const auto t1 = std::chrono::steady_clock::now();
        file.Undo();
        const auto t2 = std::chrono::steady_clock::now();
        file.Redo();
        const auto t3 = std::chrono::steady_clock::now();
        file.Undo(); // back to the same table for the next turn
        edit += std::chrono::duration<double>(t1 - t0).count();
        undo += std::chrono::duration<double>(t2 - t1).count();
        redo += std::chrono::duration<double>(t3 - t2).count();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    state.counters["pieces"] = file.GetPieceCount();
    state.counters["undo"] = undo / edit;
    state.counters["redo"] = redo / edit;
}
BENCHMARK(BM_UndoRedoDelete)
    ->Arg(1)
    ->Arg(std::int64_t{1} << 30)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(2000);

// Typing 1,000 bytes as one step in the 10,000-piece table, then undoing and
// redoing the step.
void BM_UndoRedoTypingRun(benchmark::State& state) {
    ManyPieces table;
    table.file.EnableHistory(true);
    double edit = 0, undo = 0, redo = 0;
    for (auto _ : state) {
        const std::int64_t at = table.RandomOffset() / 2;
        const auto t0 = std::chrono::steady_clock::now();
        table.file.BeginStep();
        for (std::int64_t i = 0; i < 1000; ++i)
            table.file.WriteAt(at + i, "k", 1);
        table.file.EndStep();
        const auto t1 = std::chrono::steady_clock::now();
        table.file.Undo();
        const auto t2 = std::chrono::steady_clock::now();
        table.file.Redo();
        const auto t3 = std::chrono::steady_clock::now();
        table.file.Undo();
        edit += std::chrono::duration<double>(t1 - t0).count();
        undo += std::chrono::duration<double>(t2 - t1).count();
        redo += std::chrono::duration<double>(t3 - t2).count();
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
    }
    state.counters["pieces"] = table.file.GetPieceCount();
    state.counters["undo"] = undo / edit;
    state.counters["redo"] = redo / edit;
}
BENCHMARK(BM_UndoRedoTypingRun)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(500);

// Reading 4 KiB of the oldest version after many saves in place elsewhere in
// the file, each of which kept a few bytes: the read costs what it touches,
// the same after 100 saves as after 100,000. Compare the two arguments.
void BM_OldVersionRead(benchmark::State& state) {
    ScratchFile scratch("versions", 1 << 20, true);
    platform::FileHandle handle = platform::kNoFile;
    platform::OpenFile(scratch.Path(), kReadWrite, &handle);
    const std::shared_ptr<CSourceFile> oldest = CSourceFile::Adopt(handle);
    std::shared_ptr<CSourceFile> current = oldest;
    std::mt19937_64 rng(5);
    for (std::int64_t save = 0; save < state.range(0); ++save) {
        // In the second half of the file; the read is in the first.
        const auto at = (1 << 19) + static_cast<std::int64_t>(rng() % ((1 << 19) - 8));
        current->KeepRange(at, 8);
        std::uint32_t done = 0;
        platform::WriteAt(handle, at, "saved!!!", 8, &done);
        current = current->MakeNewer();
    }
    std::vector<std::uint8_t> buffer(4096);
    for (auto _ : state) {
        std::uint32_t got = 0;
        oldest->ReadAt(65536, buffer.data(), 4096, &got);
        benchmark::DoNotOptimize(buffer.data());
    }
}
BENCHMARK(BM_OldVersionRead)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace
