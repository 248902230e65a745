// Checksums against published test vectors, fed whole and in pieces, and over
// a piece table whose content mixes the file, edits and inserted blocks: the
// result must be that of the content as shown, read without moving anything.
#include "StorageTestSupport.h"

#include "commands/Checksums.h"
#include "storage/CPieceFile64.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

using namespace storage_test;

namespace {

using Algo = ChecksumAlgorithm;

std::vector<Algo> AllAlgorithms() {
    std::vector<Algo> all;
    for (const ChecksumInfo& info : ChecksumAlgorithms())
        all.push_back(info.algorithm);
    return all;
}

std::vector<std::string> Sums(const std::string& text, size_t chunk = 0) {
    CChecksumSet set(AllAlgorithms());
    const auto* data = reinterpret_cast<const std::uint8_t*>(text.data());
    if (chunk == 0) {
        set.Update(data, text.size());
    } else {
        for (size_t at = 0; at < text.size(); at += chunk)
            set.Update(data + at, std::min(chunk, text.size() - at));
    }
    return set.Finish();
}

std::vector<std::string> Sums(const Bytes& bytes) {
    return Sums(std::string(bytes.begin(), bytes.end()));
}

// CRC-32, Adler-32, MD5, SHA-1, SHA-256, SHA-512, SHA3-256.
const std::map<std::string, std::vector<std::string>> kVectors{
    {"",
     {"00000000", "00000001", "d41d8cd98f00b204e9800998ecf8427e",
      "da39a3ee5e6b4b0d3255bfef95601890afd80709",
      "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855",
      "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce47d0d13c5d85f2b0ff8318d2"
      "877eec2f63b931bd47417a81a538327af927da3e",
      "a7ffc6f8bf1ed76651c14756a061d662f580ff4de43b49fa82d80a4b80f8434a"}},
    {"a",
     {"e8b7be43", "00620062", "0cc175b9c0f1b6a831c399e269772661",
      "86f7e437faa5a7fce15d1ddcb9eaeaea377667b8",
      "ca978112ca1bbdcafac231b39a23dc4da786eff8147c4e72b9807785afee48bb",
      "1f40fc92da241694750979ee6cf582f2d5d7d28e18335de05abc54d0560e0f5302860c652bf08d560252aa5e"
      "74210546f369fbbbce8c12cfc7957b2652fe9a75",
      "80084bf2fba02475726feb2cab2d8215eab14bc6bdd8bfb2c8151257032ecd8b"}},
    {"abc",
     {"352441c2", "024d0127", "900150983cd24fb0d6963f7d28e17f72",
      "a9993e364706816aba3e25717850c26c9cd0d89d",
      "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
      "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23"
      "a3feebbd454d4423643ce80e2a9ac94fa54ca49f",
      "3a985da74fe225b2045c172d6bd390bd855f086e3e9d525b46bfe24511431532"}},
    {std::string(1000000, 'a'),
     {"dc25bfbc", "15d870f9", "7707d6ae4e027c70eea2a935c2296f21",
      "34aa973cd4c4daa4f61eeb2bdbad27316534016f",
      "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0",
      "e718483d0ce769644e2e42c7bc15b4638e1f98b13b2044285632a803afa973ebde0ff244877ea60a4cb0432c"
      "e577c31beb009c5c2c49aa2e4eadb217ad8cc09b",
      "5c8875ae474a3634ba4fd55ec85bffd661f32aca75c6d699d0cdcb6c115891c1"}},
};

} // namespace

TEST(Checksums, KnownAnswersWholeAndFedInPieces) {
    EXPECT_EQ(Sums("123456789")[0], "cbf43926"); // the CRC-32 check value
    for (const auto& [input, expected] : kVectors) {
        EXPECT_EQ(Sums(input), expected) << input.size() << " bytes";
        EXPECT_EQ(Sums(input, 7), expected) << input.size() << " bytes in 7-byte pieces";
    }
    // One algorithm alone gives what it gives among the others.
    CChecksumSet sha3({Algo::Sha3_256});
    sha3.Update(reinterpret_cast<const std::uint8_t*>("abc"), 3);
    EXPECT_EQ(sha3.Finish(), std::vector<std::string>{kVectors.at("abc")[6]});
}

TEST(Checksums, NamesOnTheCommandLineAndInTheDialog) {
    EXPECT_EQ(ChecksumByName("sha256"), Algo::Sha256);
    EXPECT_EQ(ChecksumByName("SHA-256"), Algo::Sha256);
    EXPECT_EQ(ChecksumByName("Sha3-256"), Algo::Sha3_256);
    EXPECT_EQ(ChecksumByName("CRC32"), Algo::Crc32);
    EXPECT_EQ(ChecksumByName("sha"), std::nullopt);
    EXPECT_EQ(ChecksumByName(""), std::nullopt);
    EXPECT_STREQ(ChecksumInfoOf(Algo::Adler32).label, "Adler-32");
}

// The edits leave a million 'a' over file pieces and an inserted block, so
// the published vectors apply to the content as shown.
TEST(Checksums, ContentAsShownAcrossPiecesAndEdits) {
    TempDir dir;
    std::string disk(999990, 'a');
    disk[600000] = 'Q';
    disk.insert(500000, "XYZ");
    WriteFile(dir.File("a.bin"), Bytes(disk.begin(), disk.end()));

    CPieceFile64 file;
    ASSERT_TRUE(file.Open(dir.File("a.bin").c_str(), 0x22));
    file.Seek(500000, CFile64::begin);
    file.Delete(3);
    file.Seek(250000, CFile64::begin);
    file.Insert(10, 'a');
    file.WriteAt(600010, "a", 1);
    file.Seek(12345, CFile64::begin);
    ASSERT_EQ(file.GetLength(), 1000000);
    ASSERT_GE(file.GetPieceCount(), 4);

    EXPECT_EQ(ComputeChecksums(file, 0, file.GetLength(), AllAlgorithms()),
              kVectors.at(std::string(1000000, 'a')));
    EXPECT_EQ(file.GetPosition(), 12345);
    EXPECT_EQ(ComputeChecksums(file, 999999, 1, {Algo::Sha256})->front(), kVectors.at("a")[4]);
    EXPECT_EQ(ComputeChecksums(file, 1000000, 0, {Algo::Crc32, Algo::Md5}),
              (std::vector<std::string>{"00000000", kVectors.at("")[2]}));
}

// Random edits on random content: every range sums as the same bytes of a
// plain model do.
TEST(Checksums, RangesMatchAModelOfTheContent) {
    TempDir dir;
    const std::uint64_t seed = 2812;
    Bytes model = RandomBytes(seed, 700000);
    WriteFile(dir.File("r.bin"), model);
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(dir.File("r.bin").c_str(), 0x22));
    std::mt19937_64 rng(seed);
    for (int i = 0; i < 20; ++i) {
        const auto at = static_cast<std::int64_t>(rng() % model.size());
        const auto value = static_cast<std::uint8_t>(rng());
        file.Seek(at, CFile64::begin);
        if (i % 2 == 0) {
            const auto count = static_cast<std::uint32_t>(rng() % 5000);
            file.Insert(count, value);
            model.insert(model.begin() + at, count, value);
        } else {
            file.WriteAt(at, &value, 1);
            model[static_cast<size_t>(at)] = value;
        }
    }
    for (int i = 0; i < 10; ++i) {
        const auto start = static_cast<std::int64_t>(rng() % model.size());
        const auto length = static_cast<std::int64_t>(rng() % (model.size() - size_t(start) + 1));
        const Bytes slice(model.begin() + start, model.begin() + start + length);
        EXPECT_EQ(ComputeChecksums(file, start, length, AllAlgorithms()), Sums(slice))
            << "seed " << seed << " range " << start << "+" << length;
    }
}

TEST(Checksums, CancelReadErrorsAndRangesPastTheEnd) {
    TempDir dir;
    WriteFile(dir.File("c.bin"), RandomBytes(7, 1 << 20));
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(dir.File("c.bin").c_str(), 0x20));

    // Progress counts up to the total; cancelling stops at once with nothing.
    std::vector<std::int64_t> steps;
    const auto progress = [&](std::int64_t done, std::int64_t total) {
        EXPECT_EQ(total, 1 << 20);
        steps.push_back(done);
        return done >= (1 << 19);
    };
    EXPECT_EQ(ComputeChecksums(file, 0, 1 << 20, {Algo::Sha256}, progress), std::nullopt);
    ASSERT_GE(steps.size(), 2u);
    EXPECT_TRUE(std::is_sorted(steps.begin(), steps.end()));
    EXPECT_EQ(steps.back(), 1 << 19);

    // A failing read is a file error, not a checksum of whatever was read.
    {
        ScopedFaults faults([](platform::FileOp op, const std::string&, std::int64_t*) {
            return op == platform::FileOp::Read ? EIO : 0;
        });
        const CFileException e =
            CatchFileError([&] { ComputeChecksums(file, 0, 100, {Algo::Md5}); });
        EXPECT_EQ(e.m_cause, CFileException::hardIO);
    }
    for (const auto& [start, length] : {std::pair<std::int64_t, std::int64_t>{0, (1 << 20) + 1},
                                        {-1, 10},
                                        {(1 << 20) + 1, 0},
                                        {5, -1}}) {
        const CFileException e =
            CatchFileError([&] { ComputeChecksums(file, start, length, {Algo::Md5}); });
        EXPECT_EQ(e.m_cause, CFileException::endOfFile) << start << "+" << length;
    }
}
