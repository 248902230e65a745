// Every occurrence over the edited content, checked against a plain byte
// vector: random contents over a small alphabet (many matches, letters in both
// cases), edits that cut the content into pieces, ranges, block seams, Cancel,
// the cap on listed offsets, and the rows the results panel shows.
#include "commands/FindAllResults.h"
#include "display/CharSet.h"
#include "storage/ByteSearch.h"
#include "storage/CPieceFile64.h"

#include "StorageTestSupport.h"

#include <random>

using namespace storage_test;

namespace {

std::vector<std::int64_t> ModelFindAll(const Bytes& content, const Bytes& pattern, bool matchCase,
                                       std::int64_t start, std::int64_t end) {
    const auto fold = [&](std::uint8_t b) { return matchCase ? b : CByteSearch::Fold(b); };
    std::vector<std::int64_t> found;
    const auto len = static_cast<std::int64_t>(pattern.size());
    for (std::int64_t at = start; at + len <= end; ++at) {
        std::int64_t k = 0;
        while (k < len &&
               fold(content[static_cast<size_t>(at + k)]) == fold(pattern[static_cast<size_t>(k)]))
            ++k;
        if (k == len)
            found.push_back(at);
    }
    return found;
}

class FindAll : public ::testing::Test {
protected:
    void Open(const Bytes& bytes) {
        const std::string path = m_dir.File("all.bin");
        WriteFile(path, bytes);
        m_model = bytes;
        ASSERT_TRUE(m_file.Open(path.c_str(), CFile64::modeReadWrite | CFile64::shareDenyWrite));
    }
    CFindAllResults Search(const Bytes& pattern, int matchCase, std::int64_t start,
                           std::int64_t end, const FindAllProgress& onBlock = {}) {
        return FindAllOccurrences(m_file, CByteString(pattern.begin(), pattern.end()), matchCase,
                                  start, end, onBlock);
    }

    TempDir m_dir;
    CPieceFile64 m_file;
    Bytes m_model;
};

} // namespace

TEST_F(FindAll, MatchesTheByteModelOverPiecesSeamsRangesAndCase) {
    const unsigned seed = 27;
    std::mt19937 rng(seed);
    const Bytes alphabet{'a', 'A', 'b', 'B', 0x00, 0xE1};
    const auto pick = [&](std::int64_t n) {
        return std::uniform_int_distribution<std::int64_t>(0, n - 1)(rng);
    };
    Bytes initial(3 * 65536 + 1234);
    for (auto& b : initial)
        b = alphabet[static_cast<size_t>(pick(static_cast<std::int64_t>(alphabet.size())))];
    Open(initial);

    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE("seed " + std::to_string(seed) + ", round " + std::to_string(round));
        // An edit, so pieces of the file and of memory alternate.
        const std::int64_t pos = pick(static_cast<std::int64_t>(m_model.size()) + 1);
        const auto value = alphabet[static_cast<size_t>(pick(4))];
        switch (round % 3) {
        case 0: {
            const auto count = static_cast<std::uint32_t>(1 + pick(300));
            m_file.Seek(pos, CFile64::begin);
            m_file.Insert(count, value);
            m_model.insert(m_model.begin() + pos, count, value);
            break;
        }
        case 1: {
            const std::int64_t count = std::min<std::int64_t>(
                1 + pick(200), static_cast<std::int64_t>(m_model.size()) - pos);
            m_file.Seek(pos, CFile64::begin);
            m_file.Delete(count);
            m_model.erase(m_model.begin() + pos, m_model.begin() + pos + count);
            break;
        }
        default: {
            if (pos == static_cast<std::int64_t>(m_model.size()))
                break;
            m_file.Seek(pos, CFile64::begin);
            m_file.Write(&value, 1);
            m_model[static_cast<size_t>(pos)] = value;
        }
        }
        const auto length = static_cast<std::int64_t>(m_model.size());
        // A pattern copied from the content or made up, 1 to 9 bytes long.
        const auto len = 1 + pick(9);
        Bytes pattern;
        if (round % 2 == 0) {
            const std::int64_t from = pick(length - len);
            pattern.assign(m_model.begin() + from, m_model.begin() + from + len);
        } else {
            for (std::int64_t k = 0; k < len; ++k)
                pattern.push_back(alphabet[static_cast<size_t>(pick(6))]);
        }
        std::int64_t start = 0;
        std::int64_t end = length;
        if (round % 4 == 3) { // a selection
            start = pick(length);
            end = start + pick(length - start + 1);
        }
        const int matchCase = static_cast<int>(pick(2));
        const std::int64_t position = m_file.Seek(pick(length), CFile64::begin);
        const CFindAllResults results = Search(pattern, matchCase, start, end);
        const auto expected = ModelFindAll(m_model, pattern, matchCase != 0, start, end);
        EXPECT_EQ(results.m_offsets, expected);
        EXPECT_EQ(results.m_nCount, static_cast<std::int64_t>(expected.size()));
        EXPECT_TRUE(results.m_bComplete);
        EXPECT_EQ(m_file.GetPosition(), position);
    }
    EXPECT_GT(m_file.GetPieceCount(), 20);
}

TEST_F(FindAll, OverlappingOccurrencesAndOccurrencesAcrossTheSeam) {
    Bytes content(2 * 65536, 'x');
    // AAAA holds AA three times; one occurrence straddles the first seam, and
    // one long pattern ends on the last byte.
    std::fill(content.begin() + 10, content.begin() + 14, 'A');
    const Bytes seam{'S', 'E', 'A', 'M', '!'};
    std::copy(seam.begin(), seam.end(), content.begin() + 65536 - 2);
    Open(content);
    EXPECT_EQ(Search({'A', 'A'}, 1, 0, 100).m_offsets, (std::vector<std::int64_t>{10, 11, 12}));
    EXPECT_EQ(Search(seam, 1, 0, 2 * 65536).m_offsets, (std::vector<std::int64_t>{65534}));
    // A range that cuts an occurrence leaves it out.
    EXPECT_TRUE(Search(seam, 1, 0, 65536 + 2).m_offsets.empty());
    EXPECT_TRUE(Search(seam, 1, 65535, 2 * 65536).m_offsets.empty());
    // Ranges outside the content, and empty or too long patterns, find nothing.
    EXPECT_EQ(Search({'x'}, 1, -5, 3).m_nCount, 3);
    EXPECT_EQ(Search({'x'}, 1, 2 * 65536 - 1, INT64_MAX).m_nCount, 1);
    EXPECT_EQ(Search({}, 1, 0, 100).m_nCount, 0);
    EXPECT_EQ(Search({'x', 'x'}, 1, 7, 8).m_nCount, 0);
}

TEST_F(FindAll, CancelKeepsTheOccurrencesFoundSoFar) {
    Open(Bytes(4 * 65536, 'z'));
    int blocks = 0;
    std::int64_t lastReached = 0;
    const CFindAllResults results =
        Search({'z', 'z'}, 1, 0, 4 * 65536, [&](std::int64_t reached, std::int64_t found) {
            EXPECT_GT(reached, lastReached);
            EXPECT_EQ(found, reached); // every offset before the carried byte
            lastReached = reached;
            return ++blocks == 2;
        });
    EXPECT_FALSE(results.m_bComplete);
    ASSERT_FALSE(results.m_offsets.empty());
    EXPECT_EQ(results.m_nCount, static_cast<std::int64_t>(results.m_offsets.size()));
    EXPECT_EQ(results.m_offsets.back(), results.m_nCount - 1);
    EXPECT_LT(results.m_nCount, 4 * 65536 - 1);
}

TEST_F(FindAll, ListStopsGrowingAtItsCapWhileTheCountGoesOn) {
    const auto total = static_cast<std::int64_t>(CFindAllResults::kMaxListed) + 17;
    Open(Bytes(static_cast<size_t>(total), 'q'));
    const CFindAllResults results = Search({'Q'}, 0, 0, total);
    EXPECT_EQ(results.m_nCount, total);
    EXPECT_EQ(results.m_offsets.size(), CFindAllResults::kMaxListed);
    EXPECT_EQ(results.m_offsets.back(), static_cast<std::int64_t>(CFindAllResults::kMaxListed) - 1);
    EXPECT_TRUE(results.IsTruncated());
}

TEST(FindAllRows, OffsetBaseContextAndCharacters) {
    const std::uint8_t bytes[] = {0x00, 0x41, 0x42, 0x43, 0x7F, 0xC1};
    EXPECT_EQ(FormatResultRow(0x1F, true, bytes + 1, 5, 1, 2, kCharSetAscii),
              "0x0000001F   41 [42 43] 7F C1   ABC..");
    EXPECT_EQ(FormatResultRow(31, false, bytes, 3, 0, 1, kCharSetAscii), "31   [00] 41 42   .AB");
    // In EBCDIC the characters are read through the table (0xC1 is A).
    EXPECT_EQ(FormatResultRow(0, true, bytes + 5, 1, 0, 1, kCharSetEbcdic),
              "0x00000000   [C1]   A");
    // An occurrence cut short by the end of the content still closes its bracket.
    EXPECT_EQ(FormatResultRow(2, true, bytes + 1, 3, 1, 4, kCharSetAscii),
              "0x00000002   41 [42 43]   ABC");
    EXPECT_EQ(FormatResultOffset(0x123456789AB, true), "0x123456789AB");
}
