// Checksums of a cached 1 GiB file through the document, each next to a
// baseline measured in the same run: the sha256sum command on the same file
// for SHA-256, zlib's crc32 over the same bytes already in memory for CRC-32.
// "ratio" counters are our speed over the baseline's (1 = as fast).
#include "commands/Checksums.h"
#include "storage/CPieceFile64.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr std::int64_t kGiB = std::int64_t{1} << 30;

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// 1 GiB of random bytes, written once and kept in memory as well.
struct SumFile {
    SumFile() : path("/tmp/quexo-bench-" + std::to_string(::getpid()) + "-sum"), bytes(kGiB) {
        std::mt19937_64 rng(11);
        auto* words = reinterpret_cast<std::uint64_t*>(bytes.data());
        for (size_t i = 0; i < bytes.size() / 8; ++i)
            words[i] = rng();
        const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC, 0644);
        for (std::int64_t at = 0; at < kGiB; at += 1 << 20)
            if (::pwrite(fd, bytes.data() + at, 1 << 20, at) != 1 << 20)
                std::perror("bench file");
        ::close(fd);
    }
    ~SumFile() { ::unlink(path.c_str()); }
    std::string path;
    std::vector<unsigned char> bytes;
};

const SumFile& TheFile() {
    static SumFile file;
    return file;
}

std::string Through(CPieceFile64& file, ChecksumAlgorithm algorithm) {
    return ComputeChecksums(file, 0, file.GetLength(), {algorithm})->front();
}

void BM_Sha256OfCachedGiB(benchmark::State& state) {
    const SumFile& sum = TheFile();
    CPieceFile64 file;
    file.Open(sum.path.c_str(), CFile64::modeRead | CFile64::shareDenyWrite);
    const std::string command = "sha256sum " + sum.path + " >/dev/null";
    Through(file, ChecksumAlgorithm::Crc32); // warm the cache
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("sha256sum failed");
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(Through(file, ChecksumAlgorithm::Sha256));
        const auto t2 = Clock::now();
        baseline += Seconds(t0, t1);
        ours += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t1, t2));
    }
    state.SetBytesProcessed(state.iterations() * kGiB);
    state.counters["ratio"] = baseline / ours;
}
BENCHMARK(BM_Sha256OfCachedGiB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Crc32OfCachedGiB(benchmark::State& state) {
    const SumFile& sum = TheFile();
    CPieceFile64 file;
    file.Open(sum.path.c_str(), CFile64::modeRead | CFile64::shareDenyWrite);
    Through(file, ChecksumAlgorithm::Crc32); // warm the cache
    double ours = 0;
    double baseline = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        benchmark::DoNotOptimize(crc32_z(0, sum.bytes.data(), sum.bytes.size()));
        const auto t1 = Clock::now();
        benchmark::DoNotOptimize(Through(file, ChecksumAlgorithm::Crc32));
        const auto t2 = Clock::now();
        baseline += Seconds(t0, t1);
        ours += Seconds(t1, t2);
        state.SetIterationTime(Seconds(t1, t2));
    }
    state.SetBytesProcessed(state.iterations() * kGiB);
    state.counters["ratio"] = baseline / ours;
}
BENCHMARK(BM_Crc32OfCachedGiB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
