// Find over the edited content: block seams, direction, case, limits, the
// position it leaves and where it gives the user a chance to cancel.
#include "storage/CPieceFile64.h"

#include "StorageTestSupport.h"

#include <cerrno>

using namespace storage_test;

namespace {

constexpr std::int64_t kBlock = 65536;

class PieceFileFind : public ::testing::Test {
protected:
    void OpenWith(const Bytes& bytes) {
        // A new file each time: the one still open cannot be rewritten everywhere.
        const std::string path = m_dir.File("find" + std::to_string(m_nFiles++) + ".bin");
        m_path = path;
        WriteFile(path, bytes);
        ASSERT_TRUE(m_file.Open(path.c_str(), CFile64::modeReadWrite | CFile64::shareDenyWrite));
    }
    void OpenWith(const std::string& text) { OpenWith(Bytes(text.begin(), text.end())); }
    // Counts the cancel checks; cancels at check number `cancelAt` (0: never).
    void CountChecks(int cancelAt = 0) {
        m_checks = 0;
        m_file.SetCancelCheck([this, cancelAt] { return ++m_checks == cancelAt; });
    }

    TempDir m_dir;
    int m_nFiles = 0;
    std::string m_path; // the file opened last
    CPieceFile64 m_file;
    int m_checks = 0;
};

} // namespace

TEST_F(PieceFileFind, OverlappingOccurrencesDownSkipUpVisits) {
    OpenWith(std::string("AAAA"));
    EXPECT_EQ(m_file.Find("AA", 1, 1, 0, -1), 0);
    EXPECT_EQ(m_file.GetPosition(), 0);
    EXPECT_EQ(m_file.Find("AA", 1, 1, 2, -1), 2); // find next continues after the match
    EXPECT_EQ(m_file.Find("AA", 1, 1, 3, -1), -1);
    // Upward the result is the match's last byte; the next search starts at its first.
    EXPECT_EQ(m_file.Find("AA", 1, 0, 4, -1), 3);
    EXPECT_EQ(m_file.Find("AA", 1, 0, 2, -1), 2);
    EXPECT_EQ(m_file.Find("AA", 1, 0, 1, -1), 1);
    EXPECT_EQ(m_file.GetPosition(), 1);
    EXPECT_EQ(m_file.Find("AA", 1, 0, 0, -1), -1);
    EXPECT_EQ(m_file.GetPosition(), 1);            // unchanged by a failed search
    EXPECT_EQ(m_file.Find("AA", 1, 0, 99, -1), 3); // from beyond the end going up
}

TEST_F(PieceFileFind, MatchesAcrossBlockSeamsInBothDirections) {
    const std::string pattern = "Seam-0123456789";
    const auto len = static_cast<std::int64_t>(pattern.size());
    // Around the end of the first block and of the second (which starts len bytes early).
    std::vector<std::int64_t> places;
    for (std::int64_t base : {kBlock, 2 * kBlock - len, 200000 - kBlock})
        for (std::int64_t d = -len - 1; d <= 1; ++d)
            places.push_back(base + d);
    for (const std::int64_t at : places) {
        SCOPED_TRACE("match at " + std::to_string(at));
        Bytes content(200000, '.');
        std::copy(pattern.begin(), pattern.end(), content.begin() + at);
        CPieceFile64 file;
        const std::string path = m_dir.File("seam.bin");
        WriteFile(path, content);
        ASSERT_TRUE(file.Open(path.c_str(), CFile64::modeRead | CFile64::shareDenyWrite));
        EXPECT_EQ(file.Find(pattern, 1, 1, 0, -1), at);
        EXPECT_EQ(file.Find("seam-0123456789", 0, 1, 0, -1), at);
        EXPECT_EQ(file.Find(pattern, 1, 0, 200000, -1), at + len - 1);
        EXPECT_EQ(file.Find("SEAM-0123456789", 0, 0, 200000, -1), at + len - 1);
        EXPECT_EQ(file.Find(pattern, 1, 0, at, -1), -1); // starts at start: not before it
        EXPECT_EQ(file.Find(pattern, 1, 1, at + 1, -1), -1);
    }
}

TEST_F(PieceFileFind, CaseFoldingAndLimits) {
    OpenWith(std::string("xABCxaBcxabcx"));
    EXPECT_EQ(m_file.Find("abc", 0, 1, 0, -1), 1);
    EXPECT_EQ(m_file.Find("abc", 0, 1, 2, -1), 5);
    EXPECT_EQ(m_file.Find("abc", 1, 1, 0, -1), 9);
    EXPECT_EQ(m_file.Find("abc", 1, 0, 9, -1), -1);
    EXPECT_EQ(m_file.Find("ABC", 0, 0, 9, -1), 7);
    // A match must end by the limit, even when it starts before it.
    EXPECT_EQ(m_file.Find("abc", 1, 1, 0, 12), 9);
    EXPECT_EQ(m_file.Find("abc", 1, 1, 0, 11), -1);
    EXPECT_EQ(m_file.Find("abc", 0, 1, 2, 7), -1); // aBc ends at 8
    EXPECT_EQ(m_file.Find("abc", 0, 1, 2, 8), 5);
    EXPECT_EQ(m_file.Find("abc", 0, 1, 6, 2), -1); // a limit before the start
}

TEST_F(PieceFileFind, EmptyPatternAndBadStart) {
    OpenWith(std::string("0123456789"));
    m_file.Seek(4, CFile64::begin);
    EXPECT_EQ(m_file.Find("", 1, 1, 7, -1), 7);
    EXPECT_EQ(m_file.Find("", 0, 0, 99, -1), 99);
    EXPECT_EQ(m_file.GetPosition(), 4);
    EXPECT_EQ(m_file.Find("1", 1, 1, 11, -1), -1);
    EXPECT_EQ(m_file.GetPosition(), 4);
    EXPECT_EQ(m_file.Find("9", 1, 1, 10, -1), -1);
    EXPECT_EQ(m_file.Find("0", 1, 0, -5, -1), -1);
}

TEST_F(PieceFileFind, SeesEveryEdit) {
    OpenWith(std::string("hello world"));
    m_file.Seek(5, CFile64::begin);
    m_file.Insert(3, '_');
    m_file.Seek(9, CFile64::begin);
    m_file.Write("W", 1); // hello___ World
    m_file.Seek(0, CFile64::begin);
    m_file.Delete(1); // ello___ World
    EXPECT_EQ(m_file.Find("o___ W", 1, 1, 0, -1), 3);
    EXPECT_EQ(m_file.Find("o___ w", 0, 0, 13, -1), 8);
    EXPECT_EQ(m_file.Find("hello", 0, 1, 0, -1), -1);
}

TEST_F(PieceFileFind, PatternsLongerThanABlockAreFound) {
    Bytes content = RandomBytes(11, 300000);
    const std::string pattern(reinterpret_cast<const char*>(content.data()) + 100000, 70000);
    OpenWith(content);
    EXPECT_EQ(m_file.Find(pattern, 1, 1, 0, -1), 100000);
    EXPECT_EQ(m_file.Find(pattern, 1, 0, 300000, -1), 169999);
}

TEST_F(PieceFileFind, DownwardChecksForCancelOncePerBlockAfterTheFirst) {
    Bytes content(200000, '.');
    OpenWith(content);
    CountChecks();
    // Blocks of 1 KiB doubling up to 64 KiB, each after the first starting
    // with the last 4 bytes of the one before: they end at 1024, 3068, 7160,
    // 15348, 31728, 64492, 130024, 195556, then the content's end, then an
    // empty read.
    EXPECT_EQ(m_file.Find("none", 1, 1, 0, -1), -1);
    EXPECT_EQ(m_checks, 9);

    content[150000] = 'X';
    OpenWith(content);
    CountChecks();
    EXPECT_EQ(m_file.Find("X", 1, 1, 0, -1), 150000);
    EXPECT_EQ(m_checks, 7);
    m_file.Seek(17, CFile64::begin);
    CountChecks(7); // cancelled as the block holding the match arrives
    EXPECT_EQ(m_file.Find("X", 1, 1, 0, -1), -1);
    EXPECT_EQ(m_file.GetPosition(), 17);
}

TEST_F(PieceFileFind, UpwardChecksForCancelEvery1024Positions) {
    Bytes content(200000, '.');
    OpenWith(content);
    CountChecks();
    EXPECT_EQ(m_file.Find("..x", 1, 0, 200000, -1), -1);
    EXPECT_EQ(m_checks, 195); // 1024, 2048, ... 199680: the candidates ending there
    CountChecks();
    EXPECT_EQ(m_file.Find("x", 1, 0, 200000, -1), -1);
    EXPECT_EQ(m_checks, 196); // a one-byte pattern is also tried at 0

    content[5000] = 'Q';
    content[5001] = 'X';
    OpenWith(content);
    CountChecks();
    EXPECT_EQ(m_file.Find("QX", 1, 0, 12000, -1), 5001);
    EXPECT_EQ(m_checks, 7); // 11264 down to 5120, all above the match
    CountChecks(7);
    EXPECT_EQ(m_file.Find("QX", 1, 0, 12000, -1), -1);
    CountChecks();
    EXPECT_EQ(m_file.Find("QX", 1, 0, 5119, -1), 5001);
    EXPECT_EQ(m_checks, 0);
}

TEST_F(PieceFileFind, ReadErrorEndsTheSearchWithThePositionKept) {
    OpenWith(RandomBytes(12, 100000));
    m_file.Seek(42, CFile64::begin);
    ScopedFaults faults([](platform::FileOp op, const std::string&, std::int64_t*) {
        return op == platform::FileOp::Read ? platform::kIoError : 0;
    });
    EXPECT_EQ(CatchFileError([&] { m_file.Find("zz", 1, 1, 0, -1); }).m_cause,
              CFileException::hardIO);
    EXPECT_EQ(m_file.GetPosition(), 42);
}

TEST_F(PieceFileFind, DownwardStartOutsideTheContentFindsNothing) {
    OpenWith(std::string("abcabc"));
    m_file.Seek(2, CFile64::begin);
    for (const std::int64_t start : {std::int64_t(-1), std::int64_t(7), INT64_MIN, INT64_MAX}) {
        EXPECT_EQ(m_file.Find("abc", 1, 1, start, -1), -1) << start;
        EXPECT_EQ(m_file.GetPosition(), 2) << "the position stays";
    }
    EXPECT_EQ(m_file.Find("abc", 1, 1, 6, -1), -1); // the end itself is a valid start
    EXPECT_EQ(m_file.Find("abc", 1, 1, 3, -1), 3);
}

TEST_F(PieceFileFind, FileShortenedUnderUsIsAnErrorNotTheEnd) {
    OpenWith(RandomBytes(13, 3 * kBlock));
#ifdef _WIN32
    GTEST_SKIP() << "our open denies writing to other programs, so none can shorten the file";
#else
    ASSERT_EQ(::truncate(m_path.c_str(), kBlock + 10), 0);
#endif
    for (const int down : {1, 0}) {
        m_file.Seek(42, CFile64::begin);
        EXPECT_EQ(CatchFileError([&] {
                      m_file.Find("\x01\x02\x03\x04\x05", 1, down, down ? 0 : 3 * kBlock, -1);
                  }).m_cause,
                  CFileException::endOfFile)
            << down;
        EXPECT_EQ(m_file.GetPosition(), 42);
    }
}
