// A full rewrite, saved by a user other than root, never changes who may read
// and write the file. Each case runs in a child process that drops to another
// user, as the saving user would be; the test itself needs root to set that up.
#include "storage/CPieceFile64.h"

#include "StorageTestSupport.h"

#include <grp.h>
#include <sys/wait.h>

using namespace storage_test;

namespace {

constexpr uid_t kUser = 4321;
constexpr gid_t kUserGroup = 4321;
constexpr gid_t kSharedGroup = 2000;
constexpr gid_t kForeignGroup = 3000;

enum Outcome { saved = 10, refusedOwner = 11, otherError = 12, notOpened = 13, noSwitch = 14 };

// Inserts a byte into `path` and saves it as kUser (member of kSharedGroup only).
int SaveAsUser(const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        const gid_t groups[] = {kSharedGroup};
        if (::setgroups(1, groups) != 0 || ::setresgid(kUserGroup, kUserGroup, kUserGroup) != 0 ||
            ::setresuid(kUser, kUser, kUser) != 0)
            ::_exit(noSwitch); // a container may deny it even to root
        int outcome = otherError;
        try {
            CPieceFile64 file;
            if (!file.Open(path.c_str(), CFile64::modeReadWrite | CFile64::shareDenyWrite))
                ::_exit(notOpened);
            file.Insert(1, 'x');
            file.Flush();
            outcome = saved;
        } catch (const CFileException& e) {
            outcome = e.m_cause == CFileException::ownerNotKept ? refusedOwner : otherError;
        }
        ::_exit(outcome);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(RewriteOwnership, NeverWidensAccessWhenSavedByAnotherUser) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    TempDir dir;
    ASSERT_EQ(::chmod(dir.Path().c_str(), 0777), 0);
    struct Case {
        uid_t owner;
        gid_t group;
        mode_t mode;
        int outcome;
    };
    const Case cases[] = {
        // Shared through the group: giving it to the saver would move it out of
        // the group's reach and into the saver's own group.
        {0, kSharedGroup, 0660, refusedOwner},
        // Set-id bits must not come to belong to the saver.
        {0, kSharedGroup, 06775, refusedOwner},
        // The saver's own file in a group the saver is not in (given by root).
        {kUser, kForeignGroup, 02770, refusedOwner},
        // The saver's own file in a group of the saver's: everything is kept.
        {kUser, kSharedGroup, 02750, saved},
        {kUser, kUserGroup, 0604, saved},
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string path = dir.File("f" + std::to_string(++n));
        const Bytes original = RandomBytes(n, 100);
        WriteFile(path, original);
        ASSERT_EQ(::chown(path.c_str(), c.owner, c.group), 0);
        ASSERT_EQ(::chmod(path.c_str(), c.mode | 0200), 0); // the saver may write it
        const mode_t mode = c.mode | 0200;
        const int outcome = SaveAsUser(path);
        if (outcome == noSwitch)
            GTEST_SKIP() << "this system does not let us act as another user";
        EXPECT_EQ(outcome, c.outcome) << n;
        struct stat st {};
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_uid, c.owner) << n;
        EXPECT_EQ(st.st_gid, c.group) << n;
        EXPECT_EQ(st.st_mode & 07777, mode) << n;
        EXPECT_EQ(ReadFile(path).size(), original.size() + (c.outcome == saved)) << n;
        EXPECT_EQ(dir.Names().size(), static_cast<size_t>(n)) << "no temporary file is left";
    }
}
