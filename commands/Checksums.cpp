#include "commands/Checksums.h"

#include "storage/CFileException.h"
#include "storage/CPieceFile64.h"
#include "storage/Digits.h"

#include <openssl/evp.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <new>
#include <stdexcept>

namespace {

constexpr std::array kAlgorithms{
    ChecksumInfo{ChecksumAlgorithm::Crc32, "CRC-32", "crc32"},
    ChecksumInfo{ChecksumAlgorithm::Adler32, "Adler-32", "adler32"},
    ChecksumInfo{ChecksumAlgorithm::Md5, "MD5", "md5"},
    ChecksumInfo{ChecksumAlgorithm::Sha1, "SHA-1", "sha1"},
    ChecksumInfo{ChecksumAlgorithm::Sha256, "SHA-256", "sha256"},
    ChecksumInfo{ChecksumAlgorithm::Sha512, "SHA-512", "sha512"},
    ChecksumInfo{ChecksumAlgorithm::Sha3_256, "SHA3-256", "sha3-256"},
};

// Small enough that a block read from the page cache is still in the
// processor's cache when the algorithms go over it.
constexpr std::int64_t kBlockSize = 256 * 1024;

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

const EVP_MD* DigestOf(ChecksumAlgorithm algorithm) {
    switch (algorithm) {
    case ChecksumAlgorithm::Md5:
        return EVP_md5();
    case ChecksumAlgorithm::Sha1:
        return EVP_sha1();
    case ChecksumAlgorithm::Sha256:
        return EVP_sha256();
    case ChecksumAlgorithm::Sha512:
        return EVP_sha512();
    case ChecksumAlgorithm::Sha3_256:
        return EVP_sha3_256();
    case ChecksumAlgorithm::Crc32:
    case ChecksumAlgorithm::Adler32:
        break;
    }
    return nullptr;
}

std::string Hex32(std::uint32_t value) {
    const std::array<std::uint8_t, 4> bytes{
        static_cast<std::uint8_t>(value >> 24), static_cast<std::uint8_t>(value >> 16),
        static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
    return ToLowerHex(bytes);
}

} // namespace

std::span<const ChecksumInfo> ChecksumAlgorithms() {
    return kAlgorithms;
}

const ChecksumInfo& ChecksumInfoOf(ChecksumAlgorithm algorithm) {
    for (const ChecksumInfo& info : kAlgorithms)
        if (info.algorithm == algorithm)
            return info;
    throw std::invalid_argument("unknown checksum algorithm");
}

std::optional<ChecksumAlgorithm> ChecksumByName(std::string_view name) {
    for (const ChecksumInfo& info : kAlgorithms)
        if (SameName(name, info.commandName) || SameName(name, info.label))
            return info.algorithm;
    return std::nullopt;
}

std::string ToLowerHex(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        text.push_back(kLowerHexDigits[byte >> 4]);
        text.push_back(kLowerHexDigits[byte & 0x0F]);
    }
    return text;
}

struct CChecksumSet::State {
    ChecksumAlgorithm algorithm;
    std::uint32_t value = 0;
    EVP_MD_CTX* context = nullptr;

    explicit State(ChecksumAlgorithm a) : algorithm(a) {
        if (a == ChecksumAlgorithm::Crc32) {
            value = static_cast<std::uint32_t>(crc32_z(0, Z_NULL, 0));
        } else if (a == ChecksumAlgorithm::Adler32) {
            value = static_cast<std::uint32_t>(adler32_z(0, Z_NULL, 0));
        } else {
            context = EVP_MD_CTX_new();
            if (!context)
                throw std::bad_alloc();
            // A library set up to refuse an algorithm (a FIPS policy refusing
            // MD5, say) says so here.
            if (EVP_DigestInit_ex(context, DigestOf(a), nullptr) != 1) {
                EVP_MD_CTX_free(context);
                throw std::runtime_error(std::string("checksum algorithm unavailable: ") +
                                         ChecksumInfoOf(a).label);
            }
        }
    }
    ~State() { EVP_MD_CTX_free(context); }
    State(const State&) = delete;
    State& operator=(const State&) = delete;
};

CChecksumSet::CChecksumSet(std::vector<ChecksumAlgorithm> algorithms) {
    m_states.reserve(algorithms.size());
    for (ChecksumAlgorithm algorithm : algorithms)
        m_states.push_back(std::make_unique<State>(algorithm));
}

CChecksumSet::~CChecksumSet() = default;

void CChecksumSet::Update(const std::uint8_t* data, std::size_t size) {
    for (const auto& state : m_states) {
        switch (state->algorithm) {
        case ChecksumAlgorithm::Crc32:
            state->value = static_cast<std::uint32_t>(crc32_z(state->value, data, size));
            break;
        case ChecksumAlgorithm::Adler32:
            state->value = static_cast<std::uint32_t>(adler32_z(state->value, data, size));
            break;
        default:
            if (EVP_DigestUpdate(state->context, data, size) != 1)
                throw std::runtime_error("checksum update failed");
            break;
        }
    }
}

std::vector<std::string> CChecksumSet::Finish() {
    std::vector<std::string> results;
    results.reserve(m_states.size());
    for (const auto& state : m_states) {
        if (!state->context) {
            results.push_back(Hex32(state->value));
            continue;
        }
        std::array<std::uint8_t, EVP_MAX_MD_SIZE> digest{};
        unsigned size = 0;
        if (EVP_DigestFinal_ex(state->context, digest.data(), &size) != 1)
            throw std::runtime_error("checksum finish failed");
        results.push_back(ToLowerHex(std::span(digest.data(), size)));
    }
    return results;
}

std::optional<std::vector<std::string>>
ComputeChecksums(const CPieceFile64& file, std::int64_t start, std::int64_t length,
                 const std::vector<ChecksumAlgorithm>& algorithms,
                 const ChecksumProgress& progress) {
    if (start < 0 || length < 0 || start > file.GetLength() || length > file.GetLength() - start)
        throw CFileException(CFileException::endOfFile, -1, file.GetSourcePath());
    CChecksumSet set(algorithms);
    std::vector<std::uint8_t> block(static_cast<std::size_t>(std::min(length, kBlockSize)));
    std::int64_t done = 0;
    while (done < length) {
        const std::int64_t want = std::min(length - done, kBlockSize);
        const std::int64_t got = file.ReadAt(start + done, block.data(), want);
        if (got != want) // the content shrank under us or the file was cut short
            throw CFileException(CFileException::endOfFile, -1, file.GetSourcePath());
        set.Update(block.data(), static_cast<std::size_t>(got));
        done += got;
        if (progress && progress(done, length))
            return std::nullopt;
    }
    return set.Finish();
}
