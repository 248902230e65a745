// What the history keeps of the file's earlier versions: files a rewrite
// replaced stay open within a bound, and a version many saves in place old is
// read (and let go) without going deeper into the stack for each save.
#include "storage/CPieceFile64.h"
#include "storage/CSourceFile.h"

#include "StorageTestSupport.h"

#include <filesystem>

using namespace storage_test;

namespace {

constexpr unsigned kReadWrite = CFile64::modeReadWrite | CFile64::shareDenyWrite;

Bytes Content(const CPieceFile64& file) {
    Bytes bytes(static_cast<size_t>(file.GetLength()));
    bytes.resize(static_cast<size_t>(file.ReadAt(0, bytes.data(), file.GetLength())));
    return bytes;
}

// Files under `folder` this process holds open although they were removed.
int RemovedFilesHeld(const std::string& folder) {
    int count = 0;
#ifdef __linux__
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code error;
        const std::string target = std::filesystem::read_symlink(fd.path(), error).string();
        if (!error && target.rfind(folder, 0) == 0 &&
            target.find(" (deleted)") != std::string::npos)
            ++count;
    }
#else
    (void)folder;
#endif
    return count;
}

} // namespace

// Each rewrite of a file with history leaves the replaced file open for undo;
// at most twice the saved size stays held, the oldest steps going with the
// oldest file, and the caller hears of it once per save that dropped steps.
TEST(PieceFileSavedVersions, RewritesHoldAtMostTwiceTheFileOnDisk) {
    TempDir dir;
    const std::string path = dir.File("doc.bin");
    Bytes content = RandomBytes(31, 100000);
    WriteFile(path, content);
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), kReadWrite));
    file.EnableHistory(true);
    std::vector<Bytes> states{content};
    for (int round = 0; round < 20; ++round) {
        file.Seek(0, CFile64::begin);
        file.Insert(1, round);
        file.Flush(); // a rewrite: the length changed
        content.insert(content.begin(), static_cast<std::uint8_t>(round));
        states.push_back(content);
        EXPECT_EQ(file.TakeDroppedSteps(), round >= 2) << round;
        EXPECT_FALSE(file.TakeDroppedSteps());
        ASSERT_EQ(ReadFile(path), content);
    }
#ifdef __linux__
    EXPECT_EQ(RemovedFilesHeld(dir.Path()), 2);
#endif
    // The two steps whose files are kept still undo and redo exactly.
    ASSERT_EQ(file.GetUndoCount(), 2);
    for (size_t back = 1; back <= 2; ++back) {
        ASSERT_NE(file.Undo(), 0u);
        EXPECT_EQ(Content(file), states[states.size() - 1 - back]);
    }
    EXPECT_FALSE(file.CanUndo());
    while (file.Redo() != 0) {
    }
    EXPECT_EQ(Content(file), content);

    // Undone two steps and saved: the steps to redo were recorded on the
    // oldest file kept, which would make three; they go with it, and with
    // them every replaced file.
    file.Undo();
    file.Undo();
    file.Flush();
    EXPECT_EQ(ReadFile(path), states[states.size() - 3]);
    EXPECT_TRUE(file.TakeDroppedSteps());
    EXPECT_FALSE(file.CanUndo());
    EXPECT_FALSE(file.CanRedo());
    EXPECT_EQ(Content(file), states[states.size() - 3]);
#ifdef __linux__
    EXPECT_EQ(RemovedFilesHeld(dir.Path()), 0);
#endif
}

// A version read back after 150,000 saves in place, each overwriting a few
// bytes: the read walks no chain of versions (so no deep calls), gives the
// bytes as they were, and letting the versions go unwinds nothing either.
TEST(PieceFileSavedVersions, OldVersionsReadAndGoWithoutDeepCalls) {
    TempDir dir;
    const std::string path = dir.File("doc.bin");
    const Bytes original = RandomBytes(37, 4096);
    WriteFile(path, original);
    platform::FileHandle handle = platform::kNoFile;
    ASSERT_EQ(platform::OpenFile(path, kReadWrite, &handle), 0);
    std::shared_ptr<CSourceFile> oldest = CSourceFile::Adopt(handle);
    std::shared_ptr<CSourceFile> middle;
    Bytes middleBytes;
    std::shared_ptr<CSourceFile> current = oldest;
    std::mt19937_64 rng(41);
    Bytes content = original;
    const int saves = 150000 / kOpScale;
    for (int save = 0; save < saves; ++save) {
        if (save == saves / 2) {
            middle = current;
            middleBytes = content;
        }
        const auto at = static_cast<std::int64_t>(rng() % (content.size() - 8));
        const Bytes bytes = RandomBytes(rng(), 1 + rng() % 8);
        ASSERT_EQ(current->KeepRange(at, static_cast<std::int64_t>(bytes.size())), 0);
        std::uint32_t done = 0;
        ASSERT_EQ(platform::WriteAt(handle, at, bytes.data(),
                                    static_cast<std::uint32_t>(bytes.size()), &done),
                  0);
        std::copy(bytes.begin(), bytes.end(), content.begin() + at);
        current = current->MakeNewer();
    }
    const auto read = [](const CSourceFile& version, std::int64_t from, size_t count) {
        Bytes bytes(count);
        std::uint32_t got = 0;
        EXPECT_EQ(version.ReadAt(from, bytes.data(), static_cast<std::uint32_t>(count), &got), 0);
        bytes.resize(got);
        return bytes;
    };
    EXPECT_EQ(read(*oldest, 0, original.size()), original);
    EXPECT_EQ(read(*middle, 0, original.size()), middleBytes);
    EXPECT_EQ(read(*current, 0, original.size()), content);
    EXPECT_EQ(read(*oldest, 1000, 10), Bytes(original.begin() + 1000, original.begin() + 1010));
    oldest.reset();
    EXPECT_EQ(read(*middle, 0, original.size()), middleBytes);
    middle.reset();
    current.reset();
}
