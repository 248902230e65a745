// The file a save under a new name writes into: the target changes only when
// the new content is complete and on disk.
#include "framework/CSafeSaveFile.h"

#include "StorageTestSupport.h"

#include "platform/FaultInjection.h"
#include "platform/OsFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

class FailOp : public platform::FaultInjector {
public:
    FailOp(platform::FileOp op, int error) : m_op(op), m_error(error) {}
    int Before(platform::FileOp op, const std::string&, std::int64_t*) override {
        return op == m_op ? m_error : 0;
    }

private:
    platform::FileOp m_op;
    int m_error;
};

class SafeSaveFile : public ::testing::Test {
protected:
    void TearDown() override { platform::SetFaultInjector(nullptr); }

    std::string Path(const std::string& name) const { return m_dir.File(name); }
    static std::string Content(const std::string& path) { return storage_test::ReadText(path); }
    int FileCount() const { return static_cast<int>(m_dir.Names().size()); }

    static constexpr unsigned kFlags =
        CFile64::modeCreate | CFile64::modeReadWrite | CFile64::shareExclusive;
    storage_test::TempDir m_dir;
};

} // namespace

TEST_F(SafeSaveFile, ReplacesExistingTargetOnlyOnClose) {
    const std::string target = Path("t.bin");
    std::ofstream(target) << "old content";
#ifndef _WIN32
    ::chmod(target.c_str(), 0640);
#endif
    CSafeSaveFile file;
    ASSERT_TRUE(file.Open(target.c_str(), kFlags));
    file.Write("new", 3);
#ifndef _WIN32 // held exclusively, the target cannot even be read there
    EXPECT_EQ(Content(target), "old content") << "nothing reaches the target before Close";
#endif
    EXPECT_EQ(FileCount(), 2);
    file.Close();
    EXPECT_EQ(Content(target), "new");
    EXPECT_EQ(FileCount(), 1) << "no temporary file left";
#ifndef _WIN32
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the target keeps its permissions";
#endif
}

TEST_F(SafeSaveFile, AbortKeepsExistingTargetAndRemovesNewOne) {
    const std::string existing = Path("e.bin");
    std::ofstream(existing) << "keep me";
    {
        CSafeSaveFile file;
        ASSERT_TRUE(file.Open(existing.c_str(), kFlags));
        file.Write("partial", 7);
        file.Abort();
    }
    EXPECT_EQ(Content(existing), "keep me");
    {
        CSafeSaveFile file;
        ASSERT_TRUE(file.Open(Path("n.bin").c_str(), kFlags));
        file.Write("partial", 7);
        // Destroyed without Close: the same as an abort.
    }
    EXPECT_FALSE(std::filesystem::exists(Path("n.bin")));
    EXPECT_EQ(FileCount(), 1);
}

TEST_F(SafeSaveFile, FailuresAtTheEndLeaveTargetIntact) {
    for (const platform::FileOp op : {platform::FileOp::Sync, platform::FileOp::Replace}) {
        const std::string target = Path("t.bin");
        std::ofstream(target) << "original";
        CSafeSaveFile file;
        ASSERT_TRUE(file.Open(target.c_str(), kFlags));
        file.Write("replacement", 11);
        FailOp fault(op, platform::kIoError);
        platform::SetFaultInjector(&fault);
        try {
            file.Close();
            FAIL() << "a failing close must raise";
        } catch (const CFileException& e) {
            EXPECT_EQ(e.m_cause, CFileException::hardIO);
            EXPECT_EQ(e.m_strFileName, target);
        }
        platform::SetFaultInjector(nullptr);
        EXPECT_EQ(Content(target), "original");
        EXPECT_EQ(FileCount(), 1);
    }
}

TEST_F(SafeSaveFile, RefusesTargetAnotherOpenHolds) {
    const std::string target = Path("held.bin");
    std::ofstream(target) << "held";
    CFile64 holder;
    ASSERT_TRUE(holder.Open(target.c_str(), CFile64::modeReadWrite | CFile64::shareDenyWrite));
    CSafeSaveFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(target.c_str(), kFlags, &error));
    EXPECT_EQ(error.m_cause, CFileException::sharingViolation);
    EXPECT_EQ(Content(target), "held");
    EXPECT_EQ(FileCount(), 1);
}

TEST_F(SafeSaveFile, FolderRefusingNewFilesReportsAccessDenied) {
    const std::string target = Path("t.bin");
    std::ofstream(target) << "there before";
    FailOp fault(platform::FileOp::CreateTemp, platform::kAccessDenied);
    platform::SetFaultInjector(&fault);
    CSafeSaveFile file;
    CFileException error;
    EXPECT_FALSE(file.Open(target.c_str(), kFlags, &error));
    platform::SetFaultInjector(nullptr);
    EXPECT_EQ(error.m_cause, CFileException::accessDenied);
    EXPECT_EQ(error.m_strFileName, target);
    EXPECT_EQ(Content(target), "there before");
}

TEST_F(SafeSaveFile, SavingThroughSymlinkWritesTheLinkedFile) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows";
#endif
    const std::string real = Path("real.bin");
    std::ofstream(real) << "old";
    std::filesystem::create_symlink(real, Path("link.bin"));
    CSafeSaveFile file;
    ASSERT_TRUE(file.Open(Path("link.bin").c_str(), kFlags));
    file.Write("new", 3);
    file.Close();
    EXPECT_TRUE(std::filesystem::is_symlink(Path("link.bin")));
    EXPECT_EQ(Content(real), "new");
}

TEST_F(SafeSaveFile, LinkToAFileYetToBeMadeCreatesItAndKeepsTheLink) {
#ifdef _WIN32
    GTEST_SKIP() << "symbolic links need a privilege on Windows";
#endif
    std::filesystem::create_symlink("made.bin", Path("link.bin"));
    {
        CSafeSaveFile file;
        ASSERT_TRUE(file.Open(Path("link.bin").c_str(), kFlags));
        file.Write("partial", 7);
        file.Abort(); // the link stays, nothing is made
    }
    EXPECT_TRUE(std::filesystem::is_symlink(Path("link.bin")));
    EXPECT_FALSE(std::filesystem::exists(Path("made.bin")));
    EXPECT_EQ(FileCount(), 1);

    CSafeSaveFile file;
    ASSERT_TRUE(file.Open(Path("link.bin").c_str(), kFlags));
    file.Write("new", 3);
    file.Close();
    EXPECT_TRUE(std::filesystem::is_symlink(Path("link.bin")));
    EXPECT_EQ(Content(Path("made.bin")), "new");
    EXPECT_EQ(FileCount(), 2);
}
