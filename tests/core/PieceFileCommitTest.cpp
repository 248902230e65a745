// Writing the edits back: which way a save goes, what the file looks like
// afterwards, and that no failure on the way costs the original.
#include "storage/CPieceFile64.h"

#include "FailingAllocation.h"
#include "StorageTestSupport.h"

#include <cerrno>

using namespace storage_test;
using platform::FileOp;

namespace {

constexpr unsigned kReadWrite = CFile64::modeReadWrite | CFile64::shareDenyWrite;

Bytes Content(CPieceFile64& file) {
    Bytes bytes(static_cast<size_t>(file.GetLength()));
    file.Seek(0, CFile64::begin);
    bytes.resize(file.Read(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
    return bytes;
}

class PieceFileCommit : public ::testing::Test {
protected:
    void OpenWith(const Bytes& bytes) {
        m_path = m_dir.File("doc.bin");
        m_original = bytes;
        WriteFile(m_path, bytes);
        ASSERT_TRUE(m_file.Open(m_path.c_str(), kReadWrite));
        m_inode = InodeOf(m_path);
    }
    // Saves, then checks the state every save leaves.
    void SaveAndCheck(const Bytes& expected, bool inPlace) {
        m_file.Flush();
        EXPECT_EQ(ReadFile(m_path), expected);
        EXPECT_EQ(m_file.GetPieceCount(), 1);
        EXPECT_EQ(m_file.GetPosition(), 0);
        EXPECT_EQ(m_file.GetLength(), static_cast<std::int64_t>(expected.size()));
        EXPECT_EQ(Content(m_file), expected);
        EXPECT_EQ(InodeOf(m_path) == m_inode, inPlace);
        EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"doc.bin"});
        EXPECT_EQ(m_file.CheckInvariants(), "");
        m_inode = InodeOf(m_path);
    }

    TempDir m_dir;
    std::string m_path;
    Bytes m_original;
    std::uint64_t m_inode = 0;
    CPieceFile64 m_file;
};

} // namespace

TEST_F(PieceFileCommit, OverwritesAloneAreSavedInPlace) {
    OpenWith(RandomBytes(1, 50000));
    Bytes expected = m_original;
    for (std::int64_t at : {0, 4095, 4096, 20000, 49999}) {
        m_file.Seek(at, CFile64::begin);
        m_file.Write("#", 1);
        expected[static_cast<size_t>(at)] = '#';
    }
    SaveAndCheck(expected, true);
    // The object goes on: edit and save again.
    m_file.Seek(7, CFile64::begin);
    m_file.Write("!", 1);
    expected[7] = '!';
    SaveAndCheck(expected, true);
}

TEST_F(PieceFileCommit, MovedFilePieceOrChangedLengthRewritesWhole) {
    OpenWith(RandomBytes(2, 5000));
    // Same length, but the bytes 10 to 998 now stand one further on.
    m_file.Seek(10, CFile64::begin);
    m_file.Insert(1, 'i');
    m_file.Seek(1000, CFile64::begin);
    m_file.Delete(1);
    Bytes expected = m_original;
    expected.insert(expected.begin() + 10, 'i');
    expected.erase(expected.begin() + 1000);
    SaveAndCheck(expected, false);

    // Inserting a byte and deleting it again moves nothing.
    m_file.Seek(300, CFile64::begin);
    m_file.Insert(1, 'x');
    m_file.Delete(1);
    SaveAndCheck(expected, true);

    // Appending changes the length, though no file piece moves.
    m_file.Seek(0, CFile64::end);
    m_file.Insert(3, 'e');
    expected.insert(expected.end(), 3, 'e');
    SaveAndCheck(expected, false);
}

TEST_F(PieceFileCommit, DeletingEverythingSavesAnEmptyFile) {
    OpenWith(RandomBytes(3, 3000));
    m_file.Delete(3000);
    SaveAndCheck(Bytes(), false);
    EXPECT_TRUE(m_file.GetPieceInfo(0).m_bFromFile);
    m_file.Insert(2, 'n');
    SaveAndCheck(Bytes(2, 'n'), false);
}

#ifndef _WIN32 // modes and links are POSIX matters
TEST_F(PieceFileCommit, RewriteKeepsModeLinkAndLock) {
    m_path = m_dir.File("doc.bin");
    m_original = RandomBytes(4, 1000);
    WriteFile(m_path, m_original);
    ASSERT_EQ(::chmod(m_path.c_str(), 0640), 0);
    const std::string link = m_dir.File("link.bin");
    ASSERT_EQ(::symlink(m_path.c_str(), link.c_str()), 0);
    CPieceFile64 viaLink;
    ASSERT_TRUE(viaLink.Open(link.c_str(), kReadWrite));
    viaLink.Insert(1, 'L');
    viaLink.Flush();

    struct stat st {};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)); // the link still points at the file
    ASSERT_EQ(::stat(m_path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    Bytes expected = m_original;
    expected.insert(expected.begin(), 'L');
    EXPECT_EQ(ReadFile(m_path), expected);
    EXPECT_EQ(m_dir.Names(), (std::vector<std::string>{"doc.bin", "link.bin"}));

    // The saved file is held as firmly as the first one was.
    CPieceFile64 other;
    CFileException error;
    EXPECT_FALSE(other.Open(m_path.c_str(), kReadWrite, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
}

#endif

TEST_F(PieceFileCommit, RewriteLimitIsOneHundredMillionBytes) {
    const std::string path = m_dir.File("big.bin");
    MakeSparseFile(path, 99999999, {{99999990, Bytes{1, 2, 3}}});
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), kReadWrite));
    file.Insert(2, 'b');
    const std::uint64_t inode = InodeOf(path);
    const CFileException e = CatchFileError([&] { file.Flush(); });
    EXPECT_EQ(e.m_cause, CFileException::diskFull);
    EXPECT_EQ(e.m_lOsError, -1);
    EXPECT_EQ(e.m_strFileName, path);
    EXPECT_EQ(file.GetPieceCount(), 2); // nothing changed
    EXPECT_EQ(file.GetLength(), 100000001);
    EXPECT_EQ(InodeOf(path), inode);

    file.Delete(1);
    file.Flush();
    EXPECT_EQ(file.GetLength(), 100000000);
    EXPECT_EQ(file.GetPieceCount(), 1);
    EXPECT_EQ(ReadFileAt(path, 0, 2), (Bytes{'b', 0}));
    EXPECT_EQ(ReadFileAt(path, 99999991, 9), (Bytes{1, 2, 3, 0, 0, 0, 0, 0, 0}));
}

TEST_F(PieceFileCommit, NothingToSaveIntoWithoutAFile) {
    CPieceFile64 untitled;
    untitled.Insert(3, 'u');
    EXPECT_EQ(CatchFileError([&] { untitled.Flush(); }).m_cause, CFileException::fileNotFound);
    EXPECT_EQ(untitled.GetLength(), 3);
}

namespace {

struct Fault {
    const char* name;
    FileOp op;
    int error;       // 0: a short transfer instead
    bool onTempFile; // the fault hits the temporary file (else the document)
    int cause;
};

std::ostream& operator<<(std::ostream& out, const Fault& fault) {
    return out << fault.name;
}

class RewriteFault : public PieceFileCommit, public ::testing::WithParamInterface<Fault> {};

} // namespace

TEST_P(RewriteFault, LeavesTheOriginalAndThePiecesWhole) {
    const Fault fault = GetParam();
    OpenWith(RandomBytes(5, 600000));
    // A moved file piece, a memory piece larger than one transfer, an overwrite.
    m_file.Seek(1000, CFile64::begin);
    m_file.Insert(300000, 'm');
    m_file.Seek(400000, CFile64::begin);
    m_file.Write("over", 4);
    m_file.Seek(500000, CFile64::begin);
    m_file.Delete(777);
    const Bytes edited = Content(m_file);
    const int pieces = m_file.GetPieceCount();
    m_file.Seek(12345, CFile64::begin);

    {
        ScopedFaults faults([&](FileOp op, const std::string& name, std::int64_t* count) {
            if (op != fault.op || IsTempName(name) != fault.onTempFile)
                return 0;
            if (fault.error == 0)
                *count /= 2;
            return fault.error;
        });
        const CFileException e = CatchFileError([&] { m_file.Flush(); });
        EXPECT_EQ(e.m_cause, fault.cause);
        EXPECT_FALSE(e.m_strFileName.empty());
    }
    EXPECT_EQ(ReadFile(m_path), m_original);
    EXPECT_EQ(InodeOf(m_path), m_inode);
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"doc.bin"});
    EXPECT_EQ(m_file.GetPieceCount(), pieces);
    EXPECT_EQ(m_file.GetPosition(), 12345);
    EXPECT_EQ(m_file.CheckInvariants(), "");
    EXPECT_EQ(Content(m_file), edited);

    // Once the fault is gone the same save goes through.
    SaveAndCheck(edited, false);
}

#ifdef _WIN32
constexpr int kQuotaExceeded = 1295; // ERROR_DISK_QUOTA_EXCEEDED
#else
constexpr int kQuotaExceeded = EDQUOT;
#endif

INSTANTIATE_TEST_SUITE_P(
    Faults, RewriteFault,
    ::testing::Values(
        Fault{"NoTempFileAllowed", FileOp::CreateTemp, platform::kAccessDenied, true, 5},
        Fault{"NoSpaceForMemoryBytes", FileOp::Write, platform::kNoSpace, true, 13},
        Fault{"NoSpaceForFileBytes", FileOp::Copy, platform::kNoSpace, true, 13},
        Fault{"ShortWrite", FileOp::Write, 0, true, 13},
        Fault{"IoErrorWriting", FileOp::Write, platform::kIoError, true, 10},
        Fault{"IoErrorSyncing", FileOp::Sync, platform::kIoError, true, 10},
        Fault{"QuotaOnSync", FileOp::Sync, kQuotaExceeded, true, 13},
        Fault{"IoErrorReadingTheDocument", FileOp::Read, platform::kIoError, false, 10},
        Fault{"RenameRefused", FileOp::Replace, platform::kAccessDenied, false, 5},
        Fault{"IoErrorRenaming", FileOp::Replace, platform::kIoError, false, 10}),
    [](const ::testing::TestParamInfo<Fault>& param) { return std::string(param.param.name); });

#ifndef _WIN32 // folder modes; RewriteFault covers the refusal everywhere
TEST_F(PieceFileCommit, ReadOnlyFolderRefusesTheTemporaryFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders; RewriteFault covers the refusal";
    OpenWith(RandomBytes(6, 100));
    m_file.Insert(1, 'r');
    ASSERT_EQ(::chmod(m_dir.Path().c_str(), 0555), 0);
    const CFileException e = CatchFileError([&] { m_file.Flush(); });
    ::chmod(m_dir.Path().c_str(), 0755);
    EXPECT_EQ(e.m_cause, CFileException::accessDenied);
    EXPECT_EQ(e.m_strFileName, m_dir.Path());
    EXPECT_EQ(ReadFile(m_path), m_original);
}

#endif

TEST_F(PieceFileCommit, FailedInPlaceSaveKeepsTheEditsForAnotherTry) {
    OpenWith(RandomBytes(7, 20000));
    m_file.Seek(100, CFile64::begin);
    m_file.Write("abc", 3);
    m_file.Seek(15000, CFile64::begin);
    m_file.Write("xyz", 3);
    const Bytes edited = Content(m_file);
    for (const auto& [op, error, cause] :
         std::vector<std::tuple<FileOp, int, int>>{{FileOp::Write, platform::kIoError, 10},
                                                   {FileOp::Write, 0, 13},
                                                   {FileOp::Sync, platform::kNoSpace, 13}}) {
        int writes = 0;
        ScopedFaults faults(
            [&, op = op, error = error](FileOp at, const std::string&, std::int64_t* count) {
                // The first write goes through: a failure part-way must not matter.
                if (at != op || (at == FileOp::Write && ++writes < 2))
                    return 0;
                if (error == 0)
                    *count = 0;
                return error;
            });
        EXPECT_EQ(CatchFileError([&] { m_file.Flush(); }).m_cause, cause);
        EXPECT_EQ(m_file.GetPieceCount(), 5);
        EXPECT_EQ(Content(m_file), edited);
    }
    SaveAndCheck(edited, true);
}

TEST_F(PieceFileCommit, FileShortenedUnderUsIsNotSavedShort) {
    OpenWith(RandomBytes(8, 10000));
    m_file.Seek(0, CFile64::begin);
    m_file.Insert(1, 's');
#ifdef _WIN32
    GTEST_SKIP() << "our open denies writing to other programs, so none can shorten the file";
#else
    ASSERT_EQ(::truncate(m_path.c_str(), 4000), 0);
    const CFileException e = CatchFileError([&] { m_file.Flush(); });
    EXPECT_EQ(e.m_cause, CFileException::endOfFile);
    EXPECT_EQ(ReadFile(m_path), Bytes(m_original.begin(), m_original.begin() + 4000));
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"doc.bin"});
#endif
}

TEST_F(PieceFileCommit, FileRemovedOrReplacedUnderUsIsSavedUnderItsName) {
    // An in-place save would go into the handle's file, which the name no
    // longer reaches: the edits would vanish with the last handle.
    OpenWith(RandomBytes(9, 5000));
    Bytes expected = m_original;
    m_file.Seek(100, CFile64::begin);
    m_file.Write("#", 1);
    expected[100] = '#';
    ASSERT_EQ(::unlink(m_path.c_str()), 0);
    m_file.Flush();
    EXPECT_EQ(ReadFile(m_path), expected);
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"doc.bin"});

#ifndef _WIN32 // there no name can be moved over a file we hold open
    m_file.Seek(200, CFile64::begin);
    m_file.Write("!", 1);
    expected[200] = '!';
    const std::string other = m_dir.File("other.bin");
    WriteFile(other, RandomBytes(10, 5000));
    ASSERT_EQ(::rename(other.c_str(), m_path.c_str()), 0);
    m_file.Flush();
    EXPECT_EQ(ReadFile(m_path), expected);
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{"doc.bin"});
#endif
    EXPECT_EQ(m_file.CheckInvariants(), "");
}

#ifndef _WIN32 // symbolic links to folders need privileges on Windows
TEST_F(PieceFileCommit, NameWithLinkThenDotDotSavesTheFileOpened) {
    // link/.. is the link target's parent for the system, not the link's.
    ASSERT_EQ(::mkdir(m_dir.File("real").c_str(), 0755), 0);
    ASSERT_EQ(::mkdir(m_dir.File("real/sub").c_str(), 0755), 0);
    ASSERT_EQ(::symlink("real/sub", m_dir.File("link").c_str()), 0);
    const Bytes opened = RandomBytes(11, 3000);
    const Bytes bystander = RandomBytes(12, 3000);
    WriteFile(m_dir.File("real/doc.bin"), opened);
    WriteFile(m_dir.File("doc.bin"), bystander);
    ASSERT_TRUE(m_file.Open(m_dir.File("link/../doc.bin").c_str(), kReadWrite));
    m_file.Write("@", 1);
    m_file.Seek(0, CFile64::end);
    m_file.Insert(1, 'z'); // the length changes: a rewrite
    Bytes expected = opened;
    expected[0] = '@';
    expected.push_back('z');
    m_file.Flush();
    EXPECT_EQ(ReadFile(m_dir.File("real/doc.bin")), expected);
    EXPECT_EQ(ReadFile(m_dir.File("doc.bin")), bystander);
}
#endif

#ifndef _WIN32 // links
TEST_F(PieceFileCommit, LinkPutInTheFilesPlaceAfterOpenIsNeverWrittenThrough) {
    // Someone swaps the opened name (or a folder on its way) for a link to a
    // file of the user's: whether the save would go in place or rewrite whole,
    // it is refused, the target and the edits stay as they were.
    ASSERT_EQ(::mkdir(m_dir.File("home").c_str(), 0755), 0);
    const std::string victim = m_dir.File("home/doc.bin");
    int round = 0;
    for (const bool swapFolder : {false, true}) {
        for (const bool inPlace : {true, false}) {
            const std::string folder = m_dir.File("sub" + std::to_string(++round));
            const std::string opened = folder + "/doc.bin";
            ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
            const Bytes profile = RandomBytes(13, 2000);
            WriteFile(victim, profile);
            WriteFile(opened, RandomBytes(14, 2000));
            CPieceFile64 file;
            ASSERT_TRUE(file.Open(opened.c_str(), kReadWrite));
            if (inPlace)
                file.Write("#", 1);
            else
                file.Insert(1, '#');
            const std::int64_t length = file.GetLength();
            if (swapFolder) {
                ASSERT_EQ(::rename(folder.c_str(), (folder + ".old").c_str()), 0);
                ASSERT_EQ(::symlink(m_dir.File("home").c_str(), folder.c_str()), 0);
            } else {
                ASSERT_EQ(::unlink(opened.c_str()), 0);
                ASSERT_EQ(::symlink(victim.c_str(), opened.c_str()), 0);
            }
            const CFileException e = CatchFileError([&] { file.Flush(); });
            EXPECT_EQ(e.m_cause, CFileException::nameReplaced) << swapFolder << inPlace;
            EXPECT_EQ(ReadFile(victim), profile) << swapFolder << inPlace;
            EXPECT_EQ(file.GetLength(), length);
            EXPECT_EQ(file.CheckInvariants(), "");
        }
    }
}
#endif

TEST_F(PieceFileCommit, FolderThatCannotBeSyncedAfterTheRenameIsReported) {
    OpenWith(RandomBytes(15, 3000));
    m_file.Insert(1, '+');
    {
        ScopedFaults faults([](FileOp op, const std::string&, std::int64_t*) {
            return op == FileOp::SyncFolder ? platform::kIoError : 0;
        });
        EXPECT_EQ(CatchFileError([&] { m_file.Flush(); }).m_cause, CFileException::hardIO);
    }
    EXPECT_EQ(m_file.CheckInvariants(), "");
    Bytes expected = m_original;
    expected.insert(expected.begin(), '+');
    EXPECT_EQ(Content(m_file), expected);
    SaveAndCheck(expected, false); // tried again, it goes through
}

TEST(PieceFileCommitMemory, RunningOutOfMemoryAfterTheMoveClosesTheSavedFileOnce) {
    // Each allocation from the move on fails in turn, until the save goes
    // through: whichever it is, the new content is in place and the handle
    // that holds it is closed exactly once (never again as an unknown one,
    // which could by then be another file's).
    bool saved = false;
    for (int n = 1; n < 200 && !saved; ++n) {
        SCOPED_TRACE(n);
        TempDir dir;
        const std::string path = dir.File("doc.bin");
        WriteFile(path, Bytes{1, 2, 3});
        int unknownCloses = 0;
        {
            CPieceFile64 file;
            ASSERT_TRUE(file.Open(path.c_str(), kReadWrite));
            file.Insert(1, 9);
            ScopedFaults faults([&](FileOp op, const std::string& name, std::int64_t*) {
                if (op == FileOp::Replace)
                    FailAllocation(n);
                if (op == FileOp::Close && name.empty())
                    ++unknownCloses;
                return 0;
            });
            try {
                file.Flush();
                saved = true;
            } catch (const std::bad_alloc&) {
            }
            FailAllocation(0);
        }
        EXPECT_EQ(unknownCloses, 0);
        // Here the file has moved once the move began; where the move takes
        // more steps (Windows) it may not have yet: either way, whole.
        const Bytes content = ReadFile(path);
#ifdef _WIN32
        EXPECT_TRUE(content == (Bytes{9, 1, 2, 3}) || content == (Bytes{1, 2, 3}));
#else
        EXPECT_EQ(content, (Bytes{9, 1, 2, 3}));
#endif
    }
    EXPECT_TRUE(saved);
}
