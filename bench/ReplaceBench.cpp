// Replace All of a 4-byte pattern by a 4-byte replacement, 100,000 occurrences
// in a 100,000,000-byte file (the flush question answered OK once), next to
// two baselines measured in the same run: the same file's full Find scan, and
// a plain in-memory loop (search and copy into a new buffer). The replace's
// own work, without the saves the piece limit asks for, is `replace_ms`: it
// should stay within twice the in-memory loop.
#include "commands/ReplaceLoop.h"
#include "storage/CPieceFile64.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::int64_t kLength = 100000000;
constexpr int kOccurrences = 100000;
const CByteString kFind = "QXFD";
const CByteString kReplacement = "qxrp";

// Random letters (no 'Q', so the only occurrences are the planted ones),
// with the pattern every kLength / kOccurrences bytes.
const std::vector<char>& Content() {
    static const std::vector<char> content = [] {
        std::vector<char> bytes(kLength);
        std::mt19937 rng(5);
        for (char& c : bytes)
            c = static_cast<char>('a' + rng() % 26);
        const std::int64_t spacing = kLength / kOccurrences;
        for (int i = 0; i < kOccurrences; ++i)
            std::memcpy(bytes.data() + i * spacing + 17, kFind.data(), kFind.size());
        return bytes;
    }();
    return content;
}

std::string WriteScratch() {
    const std::string path = "/tmp/quexo-replace-bench-" + std::to_string(::getpid());
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    const std::vector<char>& content = Content();
    if (fd < 0 || ::pwrite(fd, content.data(), content.size(), 0) != kLength)
        std::perror("bench file");
    ::close(fd);
    return path;
}

void BM_ReplaceAll(benchmark::State& state) {
    std::int64_t flushes = 0;
    double flushSeconds = 0;
    double replaceSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string path = WriteScratch();
        CPieceFile64 file;
        file.Open(path.c_str(), CFile64::modeReadWrite | CFile64::shareDenyWrite);
        struct Counting : CPieceFileReplaceTarget {
            using CPieceFileReplaceTarget::CPieceFileReplaceTarget;
            void Flush() override {
                ++*count;
                const auto begin = std::chrono::steady_clock::now();
                CPieceFileReplaceTarget::Flush();
                *seconds +=
                    std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
            }
            std::int64_t* count = nullptr;
            double* seconds = nullptr;
        } target(file);
        target.count = &flushes;
        target.seconds = &flushSeconds;
        ReplaceCallbacks callbacks;
        callbacks.confirmFlush = [] { return true; };
        state.ResumeTiming();

        const auto started = std::chrono::steady_clock::now();
        const ReplaceResult result =
            RunReplace(target, {kFind, kReplacement, 1, true, 0, -1}, callbacks);
        replaceSeconds +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        if (result.count != kOccurrences)
            state.SkipWithError("wrong count");
        state.PauseTiming();
        ::unlink(path.c_str());
        state.ResumeTiming();
    }
    state.counters["flushes"] =
        benchmark::Counter(double(flushes), benchmark::Counter::kAvgIterations);
    // Wall time spent flushing, per run.
    state.counters["flush_ms"] =
        benchmark::Counter(flushSeconds * 1000, benchmark::Counter::kAvgIterations);
    state.counters["replace_ms"] = benchmark::Counter((replaceSeconds - flushSeconds) * 1000,
                                                      benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FindScanSameFile(benchmark::State& state) {
    const std::string path = WriteScratch();
    CPieceFile64 file;
    file.Open(path.c_str(), CFile64::modeRead | CFile64::shareDenyWrite);
    for (auto _ : state)
        benchmark::DoNotOptimize(file.Find("ZZZZ", 1, 1, 0, -1));
    ::unlink(path.c_str());
}
BENCHMARK(BM_FindScanSameFile)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_InMemoryReplaceLoop(benchmark::State& state) {
    const std::vector<char>& content = Content();
    for (auto _ : state) {
        std::vector<char> out;
        out.reserve(content.size());
        auto from = content.begin();
        for (;;) {
            const auto at = std::search(from, content.end(), kFind.begin(), kFind.end());
            out.insert(out.end(), from, at);
            if (at == content.end())
                break;
            out.insert(out.end(), kReplacement.begin(), kReplacement.end());
            from = at + std::ptrdiff_t(kFind.size());
        }
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_InMemoryReplaceLoop)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
