// What another program did to an open file, told from identities alone: the
// verdicts, the real system calls under a second handle, and telling once.
#include "storage/FileChange.h"
#include "platform/OsFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using platform::FileIdentity;

namespace {

FileIdentity Id(std::uint64_t number, std::int64_t size, std::int64_t time) {
    FileIdentity id;
    id.m_bValid = true;
    id.m_nDevice = 1;
    id.m_nFileNumber = number;
    id.m_nSize = size;
    id.m_nWriteTime = time;
    return id;
}

} // namespace

TEST(FileChange, VerdictFromIdentities) {
    const FileIdentity opened = Id(7, 100, 1000);
    struct Case {
        const char* what;
        FileIdentity openNow;
        FileIdentity nameNow;
        FileChange expected;
    } cases[] = {
        {"untouched", opened, opened, FileChange::None},
        {"written in place", Id(7, 100, 2000), Id(7, 100, 2000), FileChange::ChangedInPlace},
        {"appended to", Id(7, 150, 2000), Id(7, 150, 2000), FileChange::Grown},
        {"cut short", Id(7, 10, 2000), Id(7, 10, 2000), FileChange::Shortened},
        {"renamed over", opened, Id(8, 100, 1000), FileChange::Replaced},
        {"removed", opened, FileIdentity{}, FileChange::Removed},
        // What happened to the open file decides what is shown: told first.
        {"cut short, then removed", Id(7, 0, 2000), FileIdentity{}, FileChange::Shortened},
        {"open file unreadable", FileIdentity{}, opened, FileChange::ChangedInPlace},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyFileChange(opened, c.openNow, c.nameNow), c.expected) << c.what;
    EXPECT_EQ(ClassifyFileChange(FileIdentity{}, opened, FileIdentity{}), FileChange::None)
        << "a document without a file has nothing to compare";
    EXPECT_TRUE(KeepsOpenedVersion(FileChange::Replaced));
    EXPECT_TRUE(KeepsOpenedVersion(FileChange::Removed));
    EXPECT_FALSE(KeepsOpenedVersion(FileChange::ChangedInPlace));
    EXPECT_FALSE(KeepsOpenedVersion(FileChange::Shortened));
}

TEST(FileChange, EachStateIsToldOnce) {
    CFileChangeTracker tracker;
    const FileIdentity opened = Id(7, 100, 1000);
    tracker.Reset(opened, opened);
    EXPECT_EQ(tracker.TakeNew(opened, opened), FileChange::None);

    const FileIdentity replaced = Id(8, 100, 1000);
    EXPECT_EQ(tracker.TakeNew(opened, replaced), FileChange::Replaced);
    EXPECT_EQ(tracker.TakeNew(opened, replaced), FileChange::None) << "told already";
    EXPECT_EQ(tracker.Current(opened, replaced), FileChange::Replaced) << "still there for a save";
    EXPECT_EQ(tracker.TakeNew(opened, Id(9, 5, 3000)), FileChange::Replaced)
        << "a newer version is a new change";

    tracker.Reset(replaced, replaced); // reloaded
    EXPECT_EQ(tracker.TakeNew(replaced, replaced), FileChange::None);
}

#ifndef _WIN32
// The real thing: the file we hold, changed through another handle.
class FileIdentityOnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/qxo-identity-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_folder = pattern;
        m_name = m_folder + "/watched.bin";
        WriteFile(m_name, std::string(100, 'a'));
        ASSERT_EQ(
            platform::OpenFile(m_name, platform::modeRead | platform::shareDenyWrite, &m_handle),
            0);
        m_opened = platform::IdentityOf(m_handle);
        ASSERT_TRUE(m_opened.m_bValid);
        EXPECT_EQ(m_opened.m_nSize, 100);
        EXPECT_TRUE(m_opened.SameFile(platform::IdentityOfName(m_name)));
    }
    void TearDown() override {
        platform::CloseFile(m_handle);
        std::filesystem::remove_all(m_folder);
    }
    static void WriteFile(const std::string& name, const std::string& bytes) {
        std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
    }
    // Timestamps may be coarser than the test is quick: date the change later,
    // as a real edit some time after the open would be.
    void LaterWrite() {
        timespec times[2] = {{0, UTIME_OMIT}, {m_opened.m_nWriteTime / 1000000000 + 5, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, m_name.c_str(), times, 0), 0);
    }
    FileChange Now() const {
        return ClassifyFileChange(m_opened, platform::IdentityOf(m_handle),
                                  platform::IdentityOfName(m_name));
    }

    std::string m_folder;
    std::string m_name;
    platform::FileHandle m_handle = platform::kNoFile;
    FileIdentity m_opened;
};

TEST_F(FileIdentityOnDisk, ChangesThroughAnotherHandle) {
    EXPECT_EQ(Now(), FileChange::None);
    ::chmod(m_name.c_str(), 0600);
    EXPECT_EQ(Now(), FileChange::None) << "permissions are not content";

    {
        std::fstream other(m_name, std::ios::binary | std::ios::in | std::ios::out);
        other.seekp(10);
        other << "XYZ";
    }
    LaterWrite();
    EXPECT_EQ(Now(), FileChange::ChangedInPlace);

    std::ofstream(m_name, std::ios::binary | std::ios::app) << "log line\n";
    EXPECT_EQ(Now(), FileChange::Grown);

    ASSERT_EQ(::truncate(m_name.c_str(), 40), 0);
    EXPECT_EQ(Now(), FileChange::Shortened);
}

TEST_F(FileIdentityOnDisk, NameRenamedOverOrRemoved) {
    const std::string fresh = m_folder + "/fresh.tmp";
    WriteFile(fresh, std::string(100, 'b'));
    ASSERT_EQ(std::rename(fresh.c_str(), m_name.c_str()), 0);
    EXPECT_EQ(Now(), FileChange::Replaced) << "the open file itself is untouched";

    ASSERT_EQ(std::remove(m_name.c_str()), 0);
    EXPECT_EQ(Now(), FileChange::Removed);
    EXPECT_FALSE(platform::IdentityOfName(m_name).m_bValid);
    EXPECT_EQ(platform::IdentityOf(m_handle).m_nSize, 100) << "still readable as opened";
}
#endif
