// The history as the table's edits leave it: one step per edit, and a list
// left whole when memory runs out part-way through an edit.
#include "storage/CFile64.h"
#include "storage/CPieceTable.h"

#include "FailingAllocation.h"
#include "StorageTestSupport.h"

#include <functional>
#include <new>

using namespace storage_test;

namespace {

constexpr unsigned kReadWrite = CFile64::modeReadWrite | CFile64::shareDenyWrite;

Bytes Content(const CPieceTable& table) {
    Bytes bytes(static_cast<size_t>(table.GetLength()));
    bytes.resize(static_cast<size_t>(table.ReadAt(0, bytes.data(), table.GetLength())));
    return bytes;
}

class PieceTableHistory : public ::testing::Test {
protected:
    // A file of random bytes, opened with history on, cut into memory and
    // file pieces by a few edits.
    void OpenCut() {
        m_original = RandomBytes(31, 64 << 10);
        m_path = m_dir.File("doc.bin");
        WriteFile(m_path, m_original);
        ASSERT_TRUE(m_table.Open(m_path.c_str(), kReadWrite));
        m_table.EnableHistory(true);
        m_table.Overwrite(1000, "abcd", 4);  // a memory piece in the file
        m_table.Insert(20000, 300, 'i');     // an inserted run
        m_table.Overwrite(40000, "efgh", 4); // another memory piece
        m_table.Remove(50000, 10);           // a cut
        ASSERT_GE(m_table.GetPieceCount(), 7);
    }

    TempDir m_dir;
    std::string m_path;
    Bytes m_original;
    CPieceTable m_table;
};

TEST_F(PieceTableHistory, AReplaceThatChangesTheLengthIsOneStep) {
    OpenCut();
    const int steps = m_table.GetUndoCount();
    const Bytes before = Content(m_table);
    for (const auto& [removed, text] : {std::pair<std::int64_t, std::string>{3, "longer text"},
                                        std::pair<std::int64_t, std::string>{700, "short"}}) {
        const Bytes step = Content(m_table);
        const CContentChange change =
            m_table.Replace(990, removed, text.data(), static_cast<std::int64_t>(text.size()));
        EXPECT_EQ(change, (CContentChange{990, removed, static_cast<std::int64_t>(text.size())}));
        Bytes expected = step;
        expected.erase(expected.begin() + 990, expected.begin() + 990 + removed);
        expected.insert(expected.begin() + 990, text.begin(), text.end());
        EXPECT_EQ(Content(m_table), expected);
    }
    const Bytes replaced = Content(m_table);
    // The zeros the insert put in before the overwrite are never a state of
    // their own.
    EXPECT_EQ(m_table.GetUndoCount(), steps + 2);
    CContentChanges made;
    m_table.Undo(&made);
    m_table.Undo(&made);
    EXPECT_EQ(Content(m_table), before);
    EXPECT_EQ(made.size(), 2u);
    m_table.Redo();
    m_table.Redo();
    EXPECT_EQ(Content(m_table), replaced);
}

// Every allocation an edit makes is failed in turn. The list must stay whole
// each time (non-release builds also check it when the edit ends); an insert
// or a removal happens whole or not at all; undo still goes back to the file.
TEST_F(PieceTableHistory, MemoryRunningOutPartWayLeavesTheListWhole) {
    struct Edit {
        const char* name;
        bool allOrNothing;
        std::function<void(CPieceTable&)> run;
    };
    const Edit edits[] = {
        {"remove across pieces", true, [](CPieceTable& t) { t.Remove(900, 45000); }},
        {"remove inside a file piece", true, [](CPieceTable& t) { t.Remove(10000, 20); }},
        {"remove a piece's front", true, [](CPieceTable& t) { t.Remove(1004, 100); }},
        {"remove inside a memory piece", true, [](CPieceTable& t) { t.Remove(20010, 5); }},
        {"insert into a file piece", true, [](CPieceTable& t) { t.Insert(30000, 8, 'x'); }},
        {"insert into a memory piece", true, [](CPieceTable& t) { t.Insert(1002, 8, 'x'); }},
        {"overwrite across pieces", false,
         [](CPieceTable& t) { t.Overwrite(990, Bytes(9000, 'o').data(), 9000); }},
        {"replace", false, [](CPieceTable& t) { t.Replace(995, 20, "replacement", 11); }},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.name);
        bool done = false;
        int failures = 0;
        for (int n = 1; !done && n < 500; ++n) {
            m_table.Open(nullptr, kReadWrite); // let go of the file first
            OpenCut();
            const Bytes before = Content(m_table);
            const int steps = m_table.GetUndoCount();
            FailAllocation(n);
            try {
                edit.run(m_table);
                done = true;
            } catch (const std::bad_alloc&) {
                ++failures;
            }
            FailAllocation(0);
            ASSERT_EQ(m_table.CheckInvariants(), "") << "allocation " << n;
            if (!done && edit.allOrNothing) {
                EXPECT_EQ(Content(m_table), before) << "allocation " << n;
                EXPECT_EQ(m_table.GetUndoCount(), steps) << "allocation " << n;
            }
            while (m_table.CanUndo())
                m_table.Undo();
            ASSERT_EQ(Content(m_table), m_original) << "allocation " << n;
        }
        EXPECT_TRUE(done);
        EXPECT_GT(failures, 0);
    }
}

} // namespace
