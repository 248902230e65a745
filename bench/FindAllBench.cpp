// Listing every occurrence of a 4-byte pattern in a cached 1 GiB file, next to
// one Find scan of the same file for a pattern that is not there, in the same
// run: "ratio" is the listing's time over the scan's. Rare: 100 occurrences;
// dense: 1,000,000 (one every 1,073 bytes), all kept in the list.
#include "commands/FindAllResults.h"
#include "storage/CPieceFile64.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::int64_t kLength = std::int64_t{1} << 30;
constexpr std::int64_t kDenseCount = 1000000;

// A sparse 1 GiB file with the two patterns written into it, read once so
// every benchmark sees it cached; removed at exit.
class MarkedFile {
public:
    MarkedFile() {
        m_path = "/tmp/quexo-bench-" + std::to_string(::getpid()) + "-findall";
        const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::ftruncate(fd, kLength) != 0)
            std::perror("bench file");
        const std::int64_t step = kLength / kDenseCount;
        for (std::int64_t i = 0; i < kDenseCount; ++i)
            if (::pwrite(fd, "WXYZ", 4, i * step + 17) != 4)
                std::perror("bench file");
        // Between two dense ones, never over one.
        for (std::int64_t i = 0; i < 100; ++i)
            if (::pwrite(fd, "QRST", 4, i * (kLength / 100) / step * step + 501) != 4)
                std::perror("bench file");
        std::vector<char> buffer(1 << 20);
        for (std::int64_t at = 0; at < kLength; at += static_cast<std::int64_t>(buffer.size()))
            benchmark::DoNotOptimize(::pread(fd, buffer.data(), buffer.size(), at));
        ::close(fd);
        m_file.Open(m_path.c_str(), CFile64::modeRead | CFile64::shareDenyWrite);
    }
    ~MarkedFile() { ::unlink(m_path.c_str()); }
    CPieceFile64& File() { return m_file; }

private:
    std::string m_path;
    CPieceFile64 m_file;
};

MarkedFile& Shared() {
    static MarkedFile file;
    return file;
}

void FindAllAgainstOneScan(benchmark::State& state, const CByteString& pattern,
                           std::int64_t expected) {
    CPieceFile64& file = Shared().File();
    double scanSeconds = 0;
    double listSeconds = 0;
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(file.Find("NONE", 1, 1, 0, -1));
        const auto t1 = std::chrono::steady_clock::now();
        const CFindAllResults results = FindAllOccurrences(file, pattern, 1, 0, kLength, {});
        const auto t2 = std::chrono::steady_clock::now();
        if (results.m_nCount != expected)
            state.SkipWithError("wrong count");
        scanSeconds += std::chrono::duration<double>(t1 - t0).count();
        const double list = std::chrono::duration<double>(t2 - t1).count();
        listSeconds += list;
        state.SetIterationTime(list);
    }
    state.counters["ratio"] = listSeconds / scanSeconds;
}

void BM_FindAllRare1GiB(benchmark::State& state) {
    FindAllAgainstOneScan(state, "QRST", 100);
}
BENCHMARK(BM_FindAllRare1GiB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_FindAllMillion1GiB(benchmark::State& state) {
    FindAllAgainstOneScan(state, "WXYZ", kDenseCount);
}
BENCHMARK(BM_FindAllMillion1GiB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
