// Edits of the piece table at the places where pieces split, join and end.
#include "storage/CPieceFile64.h"

#include "StorageTestSupport.h"

using namespace storage_test;

namespace {

constexpr unsigned kReadWrite = CFile64::modeReadWrite | CFile64::shareDenyWrite;
constexpr unsigned kReadOnly = CFile64::modeRead | CFile64::shareDenyWrite;

// The piece list as text: F<start>-<end>@<file offset> or M<start>-<end>.
std::string Layout(const CPieceFile64& file) {
    std::string text;
    for (int i = 0; i < file.GetPieceCount(); ++i) {
        const CPieceInfo piece = file.GetPieceInfo(i);
        if (!text.empty())
            text += ' ';
        text += (piece.m_bFromFile ? "F" : "M") + std::to_string(piece.m_nStart) + "-" +
                std::to_string(piece.m_nStart + piece.m_nLength);
        if (piece.m_bFromFile)
            text += "@" + std::to_string(piece.m_nFileOffset);
    }
    return text;
}

Bytes Content(CPieceFile64& file) {
    const std::int64_t position = file.GetPosition();
    Bytes bytes(static_cast<size_t>(file.GetLength()));
    file.Seek(0, CFile64::begin);
    bytes.resize(file.Read(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
    file.Seek(position, CFile64::begin);
    return bytes;
}

class PieceFileEdit : public ::testing::Test {
protected:
    void OpenWith(const Bytes& bytes, unsigned flags = kReadWrite) {
        m_path = m_dir.File("data.bin");
        m_original = bytes;
        WriteFile(m_path, bytes);
        ASSERT_TRUE(m_file.Open(m_path.c_str(), flags));
    }
    void TearDown() override { EXPECT_EQ(m_file.CheckInvariants(), ""); }

    TempDir m_dir;
    std::string m_path;
    Bytes m_original;
    CPieceFile64 m_file;
};

} // namespace

TEST_F(PieceFileEdit, OverwriteCopiesA4096ByteChunkFromThePosition) {
    OpenWith(RandomBytes(1, 10000));
    m_file.Seek(100, CFile64::begin);
    m_file.Write("x", 1);
    EXPECT_EQ(Layout(m_file), "F0-100@0 M100-4196 F4196-10000@4196");
    EXPECT_EQ(m_file.GetPosition(), 101);

    // One byte before the chunk: a 1-byte memory piece, not merged with its neighbour.
    m_file.Seek(99, CFile64::begin);
    m_file.Write("y", 1);
    EXPECT_EQ(Layout(m_file), "F0-99@0 M99-100 M100-4196 F4196-10000@4196");

    // Typing on inside the chunk adds no pieces.
    m_file.Seek(101, CFile64::begin);
    for (int i = 0; i < 4000; ++i)
        m_file.Write("z", 1);
    EXPECT_EQ(m_file.GetPieceCount(), 4);

    Bytes expected = m_original;
    expected[99] = 'y';
    expected[100] = 'x';
    std::fill(expected.begin() + 101, expected.begin() + 4101, 'z');
    EXPECT_EQ(Content(m_file), expected);
}

TEST_F(PieceFileEdit, OverwriteNearTheEndTakesTheRestAndAtTheStartLeavesNoEmptyPiece) {
    OpenWith(RandomBytes(2, 10000));
    m_file.Seek(8000, CFile64::begin);
    m_file.Write("a", 1);
    EXPECT_EQ(Layout(m_file), "F0-8000@0 M8000-10000");

    CPieceFile64 other;
    const std::string path = m_dir.File("other.bin");
    WriteFile(path, RandomBytes(3, 10000));
    ASSERT_TRUE(other.Open(path.c_str(), kReadWrite));
    other.Write("b", 1);
    EXPECT_EQ(Layout(other), "M0-4096 F4096-10000@4096");
    // A long write takes exactly its own length, more than the chunk.
    other.Seek(5000, CFile64::begin);
    const Bytes big(6000, 0xEE);
    EXPECT_THROW(other.Write(big.data(), 6000), CFileException); // runs past the end
    EXPECT_EQ(Layout(other), "M0-4096 F4096-5000@4096 M5000-10000");
    EXPECT_EQ(other.GetPosition(), 10000);
}

TEST_F(PieceFileEdit, InsertAtBoundariesGoesToTheEarlierPiece) {
    OpenWith(RandomBytes(4, 10000));
    m_file.Seek(8000, CFile64::begin);
    m_file.Write("a", 1); // F0-8000 M8000-10000
    // file | memory: a new memory piece between them
    m_file.Seek(8000, CFile64::begin);
    m_file.Insert(2, 'I');
    EXPECT_EQ(Layout(m_file), "F0-8000@0 M8000-8002 M8002-10002");
    EXPECT_EQ(m_file.GetPosition(), 8000);

    m_file.Seek(100, CFile64::begin);
    m_file.Write("b", 1); // F0-100 M100-4196 F4196-8000
    // memory | file: the memory piece grows
    m_file.Seek(4196, CFile64::begin);
    m_file.Insert(3, 'J');
    EXPECT_EQ(Layout(m_file), "F0-100@0 M100-4199 F4199-8003@4196 M8003-8005 M8005-10005");
    // At the very start of a file piece the insertion takes its place in front.
    m_file.Seek(0, CFile64::begin);
    m_file.Insert(1, 'K');
    EXPECT_EQ(Layout(m_file).substr(0, 17), "M0-1 F1-101@0 M10");

    Bytes expected = m_original;
    expected[100] = 'b';
    expected[8000] = 'a';
    expected.insert(expected.begin() + 8000, 2, 'I');
    expected.insert(expected.begin() + 4196, 3, 'J');
    expected.insert(expected.begin(), 1, 'K');
    EXPECT_EQ(Content(m_file), expected);
}

TEST_F(PieceFileEdit, ReadOnlyRefusesEditsButDeleteRefusesEvenNothing) {
    OpenWith(RandomBytes(5, 100), kReadOnly);
    ASSERT_TRUE(m_file.IsReadOnly());
    EXPECT_NO_THROW(m_file.Write("x", 0));
    EXPECT_NO_THROW(m_file.Insert(0, 1));
    for (const auto& edit : std::vector<std::function<void()>>{
             [&] { m_file.Write("x", 1); }, [&] { m_file.Insert(1, 1); }, [&] { m_file.Delete(1); },
             [&] { m_file.Delete(0); }}) {
        const CFileException e = CatchFileError(edit);
        EXPECT_EQ(e.m_cause, CFileException::accessDenied);
        EXPECT_EQ(e.m_lOsError, -1);
        EXPECT_EQ(e.m_strFileName, m_path);
    }
    EXPECT_EQ(Layout(m_file), "F0-100@0");
    EXPECT_NO_THROW(m_file.Flush()); // nothing to write, nothing written
    EXPECT_EQ(ReadFile(m_path), m_original);
    char buffer[10];
    m_file.Seek(95, CFile64::begin);
    EXPECT_EQ(m_file.Read(buffer, 10), 5u);
}

TEST_F(PieceFileEdit, SeekBoundsAndOrigins) {
    OpenWith(RandomBytes(6, 50));
    EXPECT_EQ(m_file.Seek(0, CFile64::end), 50);
    EXPECT_EQ(m_file.Seek(-10, CFile64::current), 40);
    for (const auto& [offset, origin] :
         std::vector<std::pair<std::int64_t, unsigned>>{{51, 0},
                                                        {-1, 0},
                                                        {11, 1},
                                                        {-41, 1},
                                                        {1, 2},
                                                        {-51, 2},
                                                        {0, 3},
                                                        {INT64_MAX, 1},
                                                        {INT64_MIN, 2}}) {
        const CFileException e = CatchFileError([&] { m_file.Seek(offset, origin); });
        EXPECT_EQ(e.m_cause, CFileException::badSeek) << offset << " " << origin;
        EXPECT_EQ(e.m_strFileName, m_path);
        EXPECT_EQ(m_file.GetPosition(), 40);
    }
}

TEST_F(PieceFileEdit, WriteNeverLengthensAndDeleteStopsAtTheEnd) {
    OpenWith(RandomBytes(7, 20));
    m_file.Seek(0, CFile64::end);
    EXPECT_EQ(CatchFileError([&] { m_file.Write("x", 1); }).m_cause, CFileException::endOfFile);
    m_file.Seek(18, CFile64::begin);
    const CFileException e = CatchFileError([&] { m_file.Write("abcd", 4); });
    EXPECT_EQ(e.m_cause, CFileException::endOfFile);
    EXPECT_EQ(e.m_strFileName, m_path);
    EXPECT_EQ(m_file.GetPosition(), 20);
    EXPECT_EQ(m_file.GetLength(), 20);

    m_file.Seek(18, CFile64::begin);
    m_file.Delete(10);
    EXPECT_EQ(m_file.GetLength(), 18);
    EXPECT_EQ(m_file.GetPosition(), 18);
    Bytes expected(m_original.begin(), m_original.begin() + 18);
    EXPECT_EQ(Content(m_file), expected);

    m_file.Seek(0, CFile64::begin);
    m_file.Delete(INT64_MAX);
    EXPECT_EQ(m_file.GetLength(), 0);
    EXPECT_EQ(m_file.GetPieceCount(), 1);
}

TEST_F(PieceFileEdit, DeleteAcrossPiecesKeepsTheirEnds) {
    OpenWith(RandomBytes(8, 10000));
    m_file.Seek(100, CFile64::begin);
    m_file.Write("m", 1); // F0-100 M100-4196 F4196-10000
    m_file.Seek(50, CFile64::begin);
    m_file.Delete(5000); // cuts into all three
    EXPECT_EQ(Layout(m_file), "F0-50@0 F50-5000@5050");
    m_file.Seek(0, CFile64::begin);
    m_file.Delete(50);
    EXPECT_EQ(Layout(m_file), "F0-4950@5050");
    Bytes expected(m_original.begin() + 5050, m_original.end());
    EXPECT_EQ(Content(m_file), expected);
}

TEST_F(PieceFileEdit, EmptyFileTakesItsFirstInsertInOnePiece) {
    OpenWith(Bytes());
    EXPECT_EQ(Layout(m_file), "F0-0@0");
    m_file.Insert(3, 0x141); // only the low byte counts
    EXPECT_EQ(Layout(m_file), "M0-3");
    EXPECT_EQ(Content(m_file), Bytes(3, 0x41));
    m_file.Delete(3);
    EXPECT_EQ(m_file.GetPieceCount(), 1);
    EXPECT_EQ(m_file.GetLength(), 0);
}

TEST_F(PieceFileEdit, FileBeyondFourGiBOpensWithItsFullLength) {
    const std::string path = m_dir.File("huge.bin");
    constexpr std::int64_t kLength = (std::int64_t{1} << 32) + 12345;
    MakeSparseFile(path, kLength, {{kLength - 3, Bytes{7, 8, 9}}});
    ASSERT_TRUE(m_file.Open(path.c_str(), kReadWrite));
    EXPECT_EQ(m_file.GetLength(), kLength);
    EXPECT_EQ(m_file.GetDiskLength(), kLength);
    EXPECT_EQ(m_file.Seek(-3, CFile64::end), kLength - 3);
    std::uint8_t tail[3] = {};
    EXPECT_EQ(m_file.Read(tail, 3), 3u);
    EXPECT_EQ(tail[2], 9);
    m_file.Seek(kLength - 2, CFile64::begin);
    m_file.Write("Z", 1);
    EXPECT_EQ(Layout(m_file), "F0-4294979639@0 M4294979639-4294979641");
}

TEST_F(PieceFileEdit, FileShortenedByAnotherProgramReadsOnlyWhatIsLeft) {
    OpenWith(RandomBytes(9, 10000));
    m_file.Seek(2000, CFile64::begin);
    m_file.Write("w", 1); // F0-2000 M2000-6096 F6096-10000
#ifdef _WIN32
    GTEST_SKIP() << "our open denies writing to other programs, so none can shorten the file";
#else
    ASSERT_EQ(::truncate(m_path.c_str(), 1000), 0);

    Bytes buffer(10000, 0xAA);
    m_file.Seek(500, CFile64::begin);
    EXPECT_EQ(m_file.Read(buffer.data(), 10000), 500u); // stops where the file stops
    EXPECT_EQ(m_file.GetPosition(), 1000);
    EXPECT_TRUE(std::equal(buffer.begin(), buffer.begin() + 500, m_original.begin() + 500));
    EXPECT_EQ(buffer[500], 0xAA); // nothing invented

    // The memory piece still reads; the file piece after it has nothing left.
    m_file.Seek(2000, CFile64::begin);
    EXPECT_EQ(m_file.Read(buffer.data(), 10000), 4096u);
    EXPECT_EQ(buffer[0], 'w');

    // Overwriting needs the bytes the file lost: refused, list unchanged.
    const std::string before = Layout(m_file);
    m_file.Seek(7000, CFile64::begin);
    EXPECT_EQ(CatchFileError([&] { m_file.Write("q", 1); }).m_cause, CFileException::endOfFile);
    EXPECT_EQ(Layout(m_file), before);
    // A search meets the missing bytes: an error, not "not found".
    EXPECT_EQ(CatchFileError([&] { m_file.Find("zzz", 1, 1, 0, -1); }).m_cause,
              CFileException::endOfFile);
    EXPECT_EQ(m_file.GetPosition(), 7000);
#endif
}
