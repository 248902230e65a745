// Checksums and digests of a range of the content: CRC-32 and Adler-32 from
// zlib, the digests from libcrypto's EVP interface (which uses the processor's
// SHA instructions where it has them). Every chosen algorithm is fed from one
// pass over the range.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class CPieceFile64;

enum class ChecksumAlgorithm { Crc32, Adler32, Md5, Sha1, Sha256, Sha512, Sha3_256 };

struct ChecksumInfo {
    ChecksumAlgorithm algorithm;
    const char* label;       // shown in the dialog: "SHA-256"
    const char* commandName; // on the command line: "sha256"
};

// Every algorithm, in the order the dialog lists them.
std::span<const ChecksumInfo> ChecksumAlgorithms();
const ChecksumInfo& ChecksumInfoOf(ChecksumAlgorithm algorithm);
// A command-line name or a label, in any letter case ("sha256", "SHA-256").
std::optional<ChecksumAlgorithm> ChecksumByName(std::string_view name);

// Lower-case hexadecimal of `bytes`.
std::string ToLowerHex(std::span<const std::uint8_t> bytes);

// Running state of several algorithms over the same bytes.
class CChecksumSet {
public:
    explicit CChecksumSet(std::vector<ChecksumAlgorithm> algorithms);
    ~CChecksumSet();
    CChecksumSet(const CChecksumSet&) = delete;
    CChecksumSet& operator=(const CChecksumSet&) = delete;

    void Update(const std::uint8_t* data, std::size_t size);
    // The results in lower-case hex, in the order of the algorithms given;
    // CRC-32 and Adler-32 as their 32-bit value, most significant digit first.
    // Ends the computation: call once.
    std::vector<std::string> Finish();

private:
    struct State;
    std::vector<std::unique_ptr<State>> m_states;
};

// Called after each block with the bytes done and the total; true cancels.
using ChecksumProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// The checksums of `length` bytes of `file` from `start`, read in blocks with
// ReadAt, so nothing moves. Nothing when cancelled. A read error propagates as
// CFileException; a range cut short by the end of the content raises
// endOfFile, since its checksum would describe fewer bytes than asked.
std::optional<std::vector<std::string>>
ComputeChecksums(const CPieceFile64& file, std::int64_t start, std::int64_t length,
                 const std::vector<ChecksumAlgorithm>& algorithms,
                 const ChecksumProgress& progress = {});
