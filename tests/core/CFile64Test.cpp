#include "storage/CFile64.h"
#include "storage/CPieceFile64.h"

#include "StorageTestSupport.h"

#include <cerrno>

using namespace storage_test;

namespace {
constexpr unsigned kReadWriteDenyWrite = CFile64::modeReadWrite | CFile64::shareDenyWrite;
constexpr unsigned kReadDenyWrite = CFile64::modeRead | CFile64::shareDenyWrite;
} // namespace

TEST(CFile64, ShortWriteRaisesDiskFullWithPathAndNoSystemCode) {
    TempDir dir;
    const std::string path = dir.File("short.bin");
    WriteFile(path, Bytes(16, 0));
    CFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), kReadWriteDenyWrite));
    ScopedFaults faults([](platform::FileOp op, const std::string&, std::int64_t* count) {
        if (op == platform::FileOp::Write)
            *count = 3;
        return 0;
    });
    const CFileException e = CatchFileError([&] { file.Write("0123456789", 10); });
    EXPECT_EQ(e.m_cause, CFileException::diskFull);
    EXPECT_EQ(e.m_lOsError, -1);
    EXPECT_EQ(e.m_strFileName, path);
    EXPECT_EQ(e.GetErrorMessage(), "Le Disque est plein lors  de l'acces de " + path + ".");
}

TEST(CFile64, FailedOpenNamesTheCallersFileWhileThePathIsExpanded) {
    TempDir dir;
    ASSERT_EQ(::chdir(dir.Path().c_str()), 0);
    CFile64 file;
    CFileException error;
    EXPECT_FALSE(file.Open("./sub/../missing.bin", kReadWriteDenyWrite, &error));
    EXPECT_FALSE(file.IsOpen());
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_EQ(error.m_lOsError, ENOENT);
    EXPECT_EQ(error.m_strFileName, "./sub/../missing.bin");
    EXPECT_EQ(file.GetFilePath(), dir.File("missing.bin"));

    CPieceFile64 pieces;
    EXPECT_FALSE(pieces.Open("./sub/../missing.bin", kReadWriteDenyWrite, &error));
    EXPECT_EQ(error.m_strFileName, "./sub/../missing.bin");
    EXPECT_EQ(pieces.GetSourcePath(), dir.File("missing.bin"));
    ASSERT_EQ(::chdir("/"), 0);
}

TEST(CFile64, CloseWithoutHandleRaisesAndStaysClosed) {
    CFile64 file;
    const CFileException e = CatchFileError([&] { file.Close(); });
    EXPECT_NE(e.m_cause, CFileException::none);
    EXPECT_TRUE(e.m_strFileName.empty());
    EXPECT_FALSE(file.IsOpen());
    EXPECT_TRUE(file.GetFilePath().empty());
    EXPECT_THROW(file.Close(), CFileException); // still closed, still refused
}

TEST(CFile64, PositionsBeyondFourGiBAndPastTheEnd) {
    TempDir dir;
    const std::string path = dir.File("pos.bin");
    WriteFile(path, Bytes{1, 2, 3});
    CFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), kReadDenyWrite));
    constexpr std::int64_t kFar = (std::int64_t{1} << 32) + 70000;
    EXPECT_EQ(file.Seek(kFar, CFile64::begin), kFar); // past the end is the system's to allow
    EXPECT_EQ(file.GetPosition(), kFar);
    char one = 0;
    EXPECT_EQ(file.Read(&one, 1), 0u);
    EXPECT_EQ(file.GetLength(), 3);
    EXPECT_EQ(file.GetPosition(), kFar); // GetLength leaves the pointer alone
    const CFileException e = CatchFileError([&] { file.Seek(-1, CFile64::begin); });
    EXPECT_EQ(e.m_cause, CFileException::badSeek);
    EXPECT_EQ(file.GetPosition(), kFar);
}

TEST(CFile64, ReopeningReleasesTheLockOfTheOldHandle) {
    TempDir dir;
    const std::string a = dir.File("a.bin");
    const std::string b = dir.File("b.bin");
    WriteFile(a, Bytes{1});
    WriteFile(b, Bytes{2});
    CFile64 file;
    ASSERT_TRUE(file.Open(a.c_str(), kReadWriteDenyWrite));
    ASSERT_TRUE(file.Open(b.c_str(), kReadWriteDenyWrite));
    CFile64 other;
    EXPECT_TRUE(other.Open(a.c_str(), kReadWriteDenyWrite));
}

TEST(CPieceFile64, ReopeningReleasesTheOldHandleEvenWhenTheNewOpenFails) {
    TempDir dir;
    const std::string a = dir.File("a.bin");
    WriteFile(a, Bytes{1});
    for (const std::string& next : {dir.File("b.bin"), dir.File("missing.bin")}) {
        WriteFile(dir.File("b.bin"), Bytes{2});
        CPieceFile64 file;
        ASSERT_TRUE(file.Open(a.c_str(), kReadWriteDenyWrite));
        file.Open(next.c_str(), kReadWriteDenyWrite);
        CFile64 other;
        EXPECT_TRUE(other.Open(a.c_str(), kReadWriteDenyWrite)) << next;
        EXPECT_EQ(file.HasFile(), next != dir.File("missing.bin")) << next;
    }
}

TEST(FileSharing, SecondWritingOpenIsASharingViolation) {
    TempDir dir;
    const std::string path = dir.File("held.bin");
    WriteFile(path, Bytes(10, 7));
    CPieceFile64 first;
    ASSERT_TRUE(first.Open(path.c_str(), kReadWriteDenyWrite));

    CPieceFile64 second;
    CFileException error;
    EXPECT_FALSE(second.Open(path.c_str(), kReadWriteDenyWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    EXPECT_EQ(error.GetErrorMessage(), "Le fichier " + path + " est déjà ouvert avec Quexo.");
    // The document falls back to reading, which a writer also refuses.
    EXPECT_FALSE(second.Open(path.c_str(), kReadDenyWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    // A reader that denies nothing may look.
    EXPECT_TRUE(second.Open(path.c_str(), CFile64::modeRead | CFile64::shareDenyNone));
    EXPECT_EQ(second.GetLength(), 10);
}

TEST(FileSharing, ReadersDenyingWritesCoexistAndKeepWritersOut) {
    TempDir dir;
    const std::string path = dir.File("shared.bin");
    WriteFile(path, Bytes(4, 1));
    CPieceFile64 a;
    CPieceFile64 b;
    ASSERT_TRUE(a.Open(path.c_str(), kReadDenyWrite));
    ASSERT_TRUE(b.Open(path.c_str(), kReadDenyWrite));
    EXPECT_TRUE(a.IsReadOnly());
    CPieceFile64 writer;
    CFileException error;
    EXPECT_FALSE(writer.Open(path.c_str(), kReadWriteDenyWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
}

#ifndef _WIN32 // reads the child's open files from /proc
TEST(FileSharing, LockIsNotInheritedByStartedPrograms) {
    TempDir dir;
    const std::string path = dir.File("exec.bin");
    WriteFile(path, Bytes(4, 1));
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), kReadWriteDenyWrite));
    // A child that execs keeps none of our handles, so nothing can outlive us.
    const std::string command = "ls -l /proc/self/fd/ > " + dir.File("fds.txt");
    ASSERT_EQ(std::system(command.c_str()), 0);
    const Bytes listing = ReadFile(dir.File("fds.txt"));
    const std::string text(listing.begin(), listing.end());
    EXPECT_NE(text.find("fds.txt"), std::string::npos); // the listing is the child's own
    EXPECT_EQ(text.find(path), std::string::npos) << text;
}

#endif

TEST(CFileExceptionText, NamelessErrorSaysUntitled) {
    EXPECT_EQ(CFileException(CFileException::fileNotFound).GetErrorMessage(),
              "sans titre n'est pas trouvé.");
    EXPECT_EQ(CFileException(CFileException::accessDenied, -1, "/x/y.bin").GetErrorMessage(),
              "Acces to /x/y.bin est impossible.");
    EXPECT_EQ(CFileException(CFileException::hardIO, EIO, "f").m_cause, CFileException::hardIO);
    EXPECT_EQ(CFileException::OsErrorToCause(platform::kNoSpace), CFileException::diskFull);
    EXPECT_EQ(CFileException::OsErrorToCause(platform::kShareError),
              CFileException::sharingViolation);
}
