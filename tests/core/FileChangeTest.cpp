// What another program did to an open file, told from identities alone, and
// each state told once. The document's tests change real files underneath.
#include "storage/FileChange.h"
#include "platform/OsFile.h"

#include <gtest/gtest.h>

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
