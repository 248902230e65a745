// What the Windows file layer does where POSIX has no counterpart: the
// read-only attribute, names beyond ASCII, names that differ only in case,
// "\\?\" names, stream and device names, and a save while another program
// holds the file or tries to reach it.
#ifdef _WIN32

#include "platform/FaultInjection.h"
#include "platform/OsFile.h"
#include "storage/CPieceFile64.h"

#include "StorageTestSupport.h"

using namespace storage_test;

namespace {
constexpr unsigned kReadWrite = CFile64::modeReadWrite | CFile64::shareDenyWrite;

// Runs every test of a fixture with ReplaceFileW first, then with the move alone.
class ReplaceMethod : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { platform::UseMoveForReplaceForTests(GetParam()); }
    void TearDown() override { platform::UseMoveForReplaceForTests(false); }
    TempDir m_dir;
};
} // namespace

TEST(WindowsFileLayer, ReadOnlyAttributeRefusesWritingOpens) {
    TempDir dir;
    const std::string path = dir.File("ro.bin");
    WriteFile(path, Bytes(8, 'r'));
    ASSERT_TRUE(::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    const HANDLE probe = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        ::CloseHandle(probe);
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        GTEST_SKIP() << "this system lets us write read-only files (Wine run as root)";
    }
    CPieceFile64 file;
    CFileException error;
    EXPECT_FALSE(file.Open(path.c_str(), kReadWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    EXPECT_TRUE(file.Open(path.c_str(), CFile64::modeRead | CFile64::shareDenyWrite));
    EXPECT_TRUE(file.IsReadOnly());
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(WindowsFileLayer, NamesBeyondAsciiAndCaseOnlyDifferences) {
    TempDir dir;
    const std::string path = dir.File("donn\xc3\xa9"
                                      "es \xe2\x82\xac \xe6\x97\xa5.bin"); // UTF-8
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), kReadWrite | CFile64::modeCreate));
    file.Insert(3, 'u');
    file.Flush(); // a rewrite: temporary file and replace beside a UTF-8 name
    EXPECT_EQ(dir.Names().size(), 1u);
    EXPECT_EQ(file.GetLength(), 3);
    std::string upper = path;
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    EXPECT_TRUE(platform::SameFileName(path, upper));
    EXPECT_FALSE(platform::SameFileName(path, path + "x"));
}

TEST(WindowsFileLayer, SaveWhileAnotherProgramReadsTheFileKeepsItWhole) {
    TempDir dir;
    const std::string path = dir.File("doc.bin");
    const Bytes original = RandomBytes(3, 3000);
    WriteFile(path, original);
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), kReadWrite));
    file.Insert(1, 'n');
    // Another program reads the file and does not share deletion: no replace
    // can take its name, so the save fails and leaves it as it was.
    const HANDLE reader =
        ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    const CFileException e = CatchFileError([&] { file.Flush(); });
    EXPECT_NE(e.m_cause, CFileException::none);
    ::CloseHandle(reader);
    EXPECT_EQ(ReadFile(path), original);
    for (const std::string& name : dir.Names())
        EXPECT_FALSE(IsTempName(name)) << name;
    EXPECT_EQ(file.GetLength(), 3001);

    // Once it lets go, the same save goes through and holds the file again.
    file.Flush();
    Bytes expected = original;
    expected.insert(expected.begin(), 'n');
    EXPECT_EQ(ReadFile(path), expected);
    CPieceFile64 second;
    CFileException error;
    EXPECT_FALSE(second.Open(path.c_str(), kReadWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
}

TEST(WindowsFileLayer, LongPrefixNamesKeepTheirMeaningThroughARewrite) {
    // "\\?\C:\x\name." is its own file; normal path rules would make it
    // "C:\x\name", another one.
    std::string kept;
    EXPECT_TRUE(platform::FullPath("\\\\?\\C:\\x\\name.", &kept));
    EXPECT_EQ(kept, "\\\\?\\C:\\x\\name.");

    TempDir dir;
    const std::string plain = dir.File("name");
    std::string full;
    ASSERT_TRUE(platform::FullPath(plain, &full));
    const std::wstring probe = std::filesystem::path("\\\\?\\" + full + "-probe.").wstring();
    const HANDLE made = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (made != INVALID_HANDLE_VALUE)
        ::CloseHandle(made);
    const bool folded = std::filesystem::exists(full + "-probe");
    ::DeleteFileW(probe.c_str());
    if (folded)
        GTEST_SKIP() << "this system drops the trailing dot of \\\\?\\ names too (Wine)";
    WriteFile(plain, Bytes(4, 'p'));
    for (const char* tail : {".", " "}) {
        SCOPED_TRACE(std::string("trailing '") + tail + "'");
        const std::string odd = "\\\\?\\" + full + tail;
        // Gone before the folder is cleared, which only knows normal names.
        struct Remover {
            std::wstring name;
            ~Remover() { ::DeleteFileW(name.c_str()); }
        } remover{std::filesystem::path(odd).wstring()};
        {
            CPieceFile64 file;
            ASSERT_TRUE(file.Open(odd.c_str(), kReadWrite | CFile64::modeCreate));
            file.Insert(1, 'a');
            file.Flush(); // a rewrite: temporary file, then the move onto the name
            file.Insert(1, 'b');
            file.Flush();
        }
        const HANDLE check =
            ::CreateFileW(std::filesystem::path(odd).wstring().c_str(), GENERIC_READ,
                          FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(check, INVALID_HANDLE_VALUE);
        char bytes[8] = {};
        DWORD got = 0;
        ::ReadFile(check, bytes, sizeof bytes, &got, nullptr);
        ::CloseHandle(check);
        EXPECT_EQ(std::string(bytes, got), "ba");
        EXPECT_EQ(ReadFile(plain), Bytes(4, 'p'));
    }
}

TEST(WindowsFileLayer, StreamAndDeviceNamesAreRefusedAtOpen) {
    TempDir dir;
    WriteFile(dir.File("f"), Bytes(2, 'f'));
    const struct {
        std::string name;
        int cause;
    } cases[] = {
        {dir.Path() + "\\f:s", CFileException::streamName},
        {dir.Path() + "\\f::$DATA", CFileException::streamName},
        {dir.File("CON"), CFileException::notRegularFile},
        {dir.File("nul.txt"), CFileException::notRegularFile},
        {dir.File("aux .c"), CFileException::notRegularFile},
        {dir.File("Com1"), CFileException::notRegularFile},
        {dir.File("lpt9.log"), CFileException::notRegularFile},
    };
    for (const auto& c : cases) {
        for (const unsigned flags : {kReadWrite | CFile64::modeCreate, kReadWrite,
                                     unsigned(CFile64::modeRead | CFile64::shareDenyWrite)}) {
            CPieceFile64 file;
            CFileException error;
            EXPECT_FALSE(file.Open(c.name.c_str(), flags, &error)) << c.name;
            EXPECT_EQ(error.m_cause, c.cause) << c.name;
        }
    }
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"f"}) << "nothing created";
}

TEST(WindowsFileLayer, ProgramThatOpensTheFileBetweenMoveAndReopenFailsTheSaveLoudly) {
    // The system moves no file that is open for writing, so a rewrite lets go
    // of the new file for the move and opens it again. A program that opens
    // it for writing in that moment makes our reopen fail: the save is
    // reported, the content is on the disk, the edits stay, and the next save
    // goes through once it lets go.
    TempDir dir;
    const std::string path = dir.File("doc.bin");
    WriteFile(path, Bytes(3, 'o'));
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), kReadWrite));
    file.Insert(1, 'n');
    HANDLE other = INVALID_HANDLE_VALUE;
    {
        ScopedFaults faults([&](platform::FileOp op, const std::string&, std::int64_t*) {
            if (op == platform::FileOp::SyncFolder && other == INVALID_HANDLE_VALUE)
                other = ::CreateFileW(std::filesystem::path(path).wstring().c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            return 0;
        });
        EXPECT_EQ(CatchFileError([&] { file.Flush(); }).m_cause, CFileException::sharingViolation);
    }
    ASSERT_NE(other, INVALID_HANDLE_VALUE) << "the window exists";
    ::CloseHandle(other);
    const Bytes expected{'n', 'o', 'o', 'o'};
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_EQ(file.GetLength(), 4);
    file.Flush();
    EXPECT_EQ(ReadFile(path), expected);
    for (const std::string& name : dir.Names())
        EXPECT_FALSE(IsTempName(name)) << name;
}

// ReplaceFileW and the plain move each put the new file in place, and neither
// touches a target another program holds.
TEST_P(ReplaceMethod, ReplacesOrLeavesTheTargetWhole) {
    const std::string target = m_dir.File("target.bin");
    const std::string fresh = m_dir.File("fresh.bin");
    WriteFile(target, Bytes(5, 'o'));
    WriteFile(fresh, Bytes(7, 'n'));
    const HANDLE holder = ::CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_NE(platform::ReplaceFile(fresh, target), 0);
    ::CloseHandle(holder);
    EXPECT_EQ(ReadFile(target), Bytes(5, 'o'));
    EXPECT_EQ(ReadFile(fresh), Bytes(7, 'n'));

    EXPECT_EQ(platform::ReplaceFile(fresh, target), 0);
    EXPECT_EQ(ReadFile(target), Bytes(7, 'n'));
    EXPECT_FALSE(std::filesystem::exists(fresh));
}

INSTANTIATE_TEST_SUITE_P(Both, ReplaceMethod, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return std::string(param.param ? "MoveFileEx" : "ReplaceFileW");
                         });

#endif // _WIN32
