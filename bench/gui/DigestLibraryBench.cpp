// Which library computes the digests: libcrypto's EVP SHA-256 (which uses the
// processor's SHA instructions) against GLib's GChecksum, over the same
// 256 MiB in memory. "ratio" is EVP's speed over GChecksum's. It lives beside
// the GUI benchmarks because GLib comes with the GUI's libraries.
#include <benchmark/benchmark.h>
#include <glib.h>
#include <openssl/evp.h>

#include <chrono>
#include <random>
#include <vector>

namespace {

constexpr size_t kLength = size_t{256} << 20;
constexpr size_t kBlock = 256 * 1024; // what the checksum pass feeds at a time

void BM_DigestLibrarySha256(benchmark::State& state) {
    std::vector<unsigned char> bytes(kLength);
    std::mt19937_64 rng(5);
    for (auto& byte : bytes)
        byte = static_cast<unsigned char>(rng());
    using Clock = std::chrono::steady_clock;
    double evp = 0;
    double glib = 0;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        GChecksum* checksum = g_checksum_new(G_CHECKSUM_SHA256);
        for (size_t at = 0; at < kLength; at += kBlock)
            g_checksum_update(checksum, bytes.data() + at, kBlock);
        benchmark::DoNotOptimize(g_checksum_get_string(checksum));
        g_checksum_free(checksum);
        const auto t1 = Clock::now();
        EVP_MD_CTX* context = EVP_MD_CTX_new();
        EVP_DigestInit_ex(context, EVP_sha256(), nullptr);
        for (size_t at = 0; at < kLength; at += kBlock)
            EVP_DigestUpdate(context, bytes.data() + at, kBlock);
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned size = 0;
        EVP_DigestFinal_ex(context, digest, &size);
        benchmark::DoNotOptimize(digest);
        EVP_MD_CTX_free(context);
        const auto t2 = Clock::now();
        glib += std::chrono::duration<double>(t1 - t0).count();
        evp += std::chrono::duration<double>(t2 - t1).count();
        state.SetIterationTime(std::chrono::duration<double>(t2 - t1).count());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kLength));
    state.counters["ratio"] = glib / evp;
}
BENCHMARK(BM_DigestLibrarySha256)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
