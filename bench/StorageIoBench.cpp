// Find and save on large files, each next to a plain baseline measured in the
// same run: pread + memmem for Find, cp for the rewrite. "ratio" counters are
// our speed over the baseline's (1 = as fast).
#include "storage/CPieceFile64.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr unsigned kReadWrite = CFile64::modeReadWrite | CFile64::shareDenyWrite;
constexpr std::int64_t kGiB = std::int64_t{1} << 30;

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

std::string ScratchPath(const char* name) {
    return std::string("/tmp/quexo-bench-") + std::to_string(::getpid()) + "-" + name;
}

// Random bytes, except that no byte is a 'q' or 'Q': a pattern with a q in its
// middle is absent in either case, yet its ends match as often as any bytes'.
void WriteRandomFile(const std::string& path, std::int64_t length) {
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
    std::mt19937_64 rng(3);
    std::vector<std::uint64_t> block(1 << 17);
    for (std::int64_t at = 0; at < length;) {
        for (auto& word : block)
            word = rng();
        auto* bytes = reinterpret_cast<unsigned char*>(block.data());
        for (size_t i = 0; i < block.size() * 8; ++i)
            if ((bytes[i] | 0x20) == 'q')
                bytes[i] = '.';
        const auto chunk = std::min<std::int64_t>(length - at, 1 << 20);
        if (::pwrite(fd, block.data(), static_cast<size_t>(chunk), at) != chunk)
            std::perror("bench file");
        at += chunk;
    }
    ::fsync(fd);
    ::close(fd);
}

// One 1 GiB file of random bytes for all the Find benchmarks, written once.
const std::string& SearchFile() {
    struct File {
        File() : path(ScratchPath("search")) { WriteRandomFile(path, kGiB); }
        ~File() { ::unlink(path.c_str()); }
        std::string path;
    };
    static File file;
    return file.path;
}

// The baseline: 64 KiB preads, each block searched with memmem; blocks overlap
// by the pattern's length less one.
std::int64_t PreadMemmem(int fd, const std::string& pattern, std::int64_t length) {
    constexpr size_t kBlock = 65536;
    static std::vector<char> buffer(kBlock);
    const size_t keep = pattern.size() - 1;
    for (std::int64_t at = 0; at < length;) {
        const ssize_t n = ::pread(fd, buffer.data(), kBlock, at);
        if (n <= 0)
            break;
        if (void* hit =
                ::memmem(buffer.data(), static_cast<size_t>(n), pattern.data(), pattern.size()))
            return at + (static_cast<char*>(hit) - buffer.data());
        if (static_cast<size_t>(n) <= keep)
            break;
        at += n - static_cast<ssize_t>(keep);
    }
    return -1;
}

// A pattern of `length` bytes that is nowhere in the search file: random,
// letters when case is to be folded, with a 'q' in the middle.
std::string AbsentPattern(size_t length, bool letters) {
    std::mt19937 rng(static_cast<unsigned>(length) * 31 + letters);
    std::string pattern(length, ' ');
    for (char& c : pattern)
        c = letters ? static_cast<char>("aBcDeFgHiJkLmNoPrStUvWxYz"[rng() % 25])
                    : static_cast<char>(rng());
    pattern[length / 2] = 'q';
    return pattern;
}

// Forward Find over the whole cached file; args: pattern length, match case.
void BM_FindDown1GiB(benchmark::State& state) {
    const auto length = static_cast<size_t>(state.range(0));
    const bool matchCase = state.range(1) != 0;
    const std::string pattern = AbsentPattern(length, !matchCase);
    CPieceFile64 file;
    file.Open(SearchFile().c_str(), CFile64::modeRead | CFile64::shareDenyWrite);
    const int fd = ::open(SearchFile().c_str(), O_RDONLY);
    PreadMemmem(fd, pattern, kGiB); // warm the cache
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(PreadMemmem(fd, pattern, kGiB));
        const auto t1 = Clock::now();
        if (file.Find(pattern, matchCase, 1, 0, -1) != -1)
            state.SkipWithError("pattern found");
        const auto t2 = Clock::now();
        baseline += Seconds(t0, t1);
        ours += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t1, t2));
    }
    ::close(fd);
    state.SetBytesProcessed(state.iterations() * kGiB);
    state.counters["ratio"] = baseline / ours;
}
BENCHMARK(BM_FindDown1GiB)
    ->ArgsProduct({{4, 16}, {1, 0}})
    ->ArgNames({"len", "case"})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Upward Find over the first 256 MiB, next to forward Find over the same range.
void BM_FindUp256MiB(benchmark::State& state) {
    constexpr std::int64_t kRange = 256 << 20;
    const std::string pattern = AbsentPattern(static_cast<size_t>(state.range(0)), false);
    CPieceFile64 file;
    file.Open(SearchFile().c_str(), CFile64::modeRead | CFile64::shareDenyWrite);
    double up = 0;
    double down = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(file.Find(pattern, 1, 1, 0, kRange));
        const auto t1 = Clock::now();
        if (file.Find(pattern, 1, 0, kRange, -1) != -1)
            state.SkipWithError("pattern found");
        const auto t2 = Clock::now();
        down += Seconds(t0, t1);
        up += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t1, t2));
    }
    state.SetBytesProcessed(state.iterations() * kRange);
    state.counters["ratio"] = down / up;
}
BENCHMARK(BM_FindUp256MiB)
    ->Arg(4)
    ->ArgName("len")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Ten scattered one-byte changes in a 16 GiB sparse file, saved in place with
// the sync; the edits themselves are not timed. "vs_raw" is our time over that
// of the same ten 4 KiB pwrites and an fsync on a plain descriptor, mostly the
// disk's own sync time.
void BM_SaveInPlace16GiB(benchmark::State& state) {
    const std::string path = ScratchPath("inplace");
    const std::string rawPath = ScratchPath("inplace-raw");
    for (const std::string& name : {path, rawPath}) {
        const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::ftruncate(fd, 16 * kGiB) != 0)
            std::perror("bench file");
        ::close(fd);
    }
    CPieceFile64 file;
    file.Open(path.c_str(), kReadWrite);
    const int raw = ::open(rawPath.c_str(), O_RDWR);
    std::mt19937_64 rng(9);
    const std::vector<char> page(4096, '!');
    double ours = 0;
    double rawSeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 10; ++i) {
            file.Seek(static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(16 * kGiB)),
                      CFile64::begin);
            file.Write("!", 1);
        }
        const auto t0 = Clock::now();
        for (int i = 0; i < 10; ++i)
            benchmark::DoNotOptimize(
                ::pwrite(raw, page.data(), page.size(),
                         static_cast<off_t>(rng() % static_cast<std::uint64_t>(16 * kGiB - 4096))));
        ::fsync(raw);
        const auto t1 = Clock::now();
        state.ResumeTiming();
        file.Flush();
        const auto t2 = Clock::now();
        rawSeconds += Seconds(t0, t1);
        ours += Seconds(t1, t2);
    }
    state.counters["vs_raw"] = ours / rawSeconds;
    state.counters["pieces"] = file.GetPieceCount();
    ::close(raw);
    ::unlink(rawPath.c_str());
    ::unlink(path.c_str());
}
BENCHMARK(BM_SaveInPlace16GiB)->Unit(benchmark::kMillisecond)->Iterations(20);

// A whole rewrite after one byte inserted at the start, next to cp of the same
// file (and cp plus a sync of the copy, since a save is made durable). The
// rewrite is capped at 100,000,000 bytes, so the file is just under that (each
// round adds a byte). "vs_cp" counters are our time over theirs.
void BM_RewriteAfterInsert(benchmark::State& state) {
    const std::int64_t length = state.range(0);
    const std::string path = ScratchPath("rewrite");
    const std::string copy = ScratchPath("copy");
    WriteRandomFile(path, length);
    CPieceFile64 file;
    file.Open(path.c_str(), kReadWrite);
    const std::string cp = "cp '" + path + "' '" + copy + "'";
    const std::string cpSync = cp + " && sync '" + copy + "'";
    double ours = 0;
    double cpSeconds = 0;
    double cpSyncSeconds = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (std::system(cp.c_str()) != 0)
            state.SkipWithError("cp failed");
        const auto t1 = Clock::now();
        ::unlink(copy.c_str());
        const auto t2 = Clock::now();
        if (std::system(cpSync.c_str()) != 0)
            state.SkipWithError("cp failed");
        const auto t3 = Clock::now();
        ::unlink(copy.c_str());
        file.Seek(0, CFile64::begin);
        file.Insert(1, 'i');
        const auto t4 = Clock::now();
        file.Flush();
        const auto t5 = Clock::now();
        cpSeconds += Seconds(t0, t1);
        cpSyncSeconds += Seconds(t2, t3);
        ours += Seconds(t4, t5);
        state.SetIterationTime(Seconds(t4, t5));
    }
    state.SetBytesProcessed(state.iterations() * length);
    state.counters["vs_cp"] = ours / cpSeconds;
    state.counters["vs_cp_sync"] = ours / cpSyncSeconds;
    ::unlink(path.c_str());
}
BENCHMARK(BM_RewriteAfterInsert)
    ->Arg(99999990)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(4);

} // namespace
