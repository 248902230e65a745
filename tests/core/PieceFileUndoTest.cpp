// Undo and redo on the piece table: random edits, undos, redos and saves
// against a stack of whole contents, and the ways a save and the history meet.
#include "storage/CPieceFile64.h"

#include "commands/ReplaceLoop.h"

#include "StorageTestSupport.h"

using namespace storage_test;

namespace {

constexpr unsigned kReadWrite = CFile64::modeReadWrite | CFile64::shareDenyWrite;

Bytes Content(const CPieceFile64& file) {
    Bytes bytes(static_cast<size_t>(file.GetLength()));
    bytes.resize(static_cast<size_t>(file.ReadAt(0, bytes.data(), file.GetLength())));
    return bytes;
}

// Whether `changes` account for every difference between `before` and
// `after`: each byte no change wrote stands, moved by the changes before it.
::testing::AssertionResult ChangesExplain(const Bytes& before, const Bytes& after,
                                          const CContentChanges& changes) {
    // Each byte of the content as it goes: its offset in `before`, or -1 when
    // a change wrote it.
    std::vector<std::int64_t> origin(before.size());
    for (size_t i = 0; i < origin.size(); ++i)
        origin[i] = static_cast<std::int64_t>(i);
    for (const CContentChange& change : changes) {
        if (change.m_nOffset < 0 || change.m_nRemoved < 0 || change.m_nInserted < 0 ||
            change.m_nOffset + change.m_nRemoved > static_cast<std::int64_t>(origin.size()))
            return ::testing::AssertionFailure()
                   << "change at " << change.m_nOffset << " out of range";
        const auto at = origin.begin() + static_cast<std::ptrdiff_t>(change.m_nOffset);
        origin.erase(at, at + static_cast<std::ptrdiff_t>(change.m_nRemoved));
        origin.insert(origin.begin() + static_cast<std::ptrdiff_t>(change.m_nOffset),
                      static_cast<size_t>(change.m_nInserted), -1);
    }
    if (origin.size() != after.size())
        return ::testing::AssertionFailure()
               << "changes give length " << origin.size() << ", content has " << after.size();
    for (size_t i = 0; i < origin.size(); ++i)
        if (origin[i] >= 0 && before[static_cast<size_t>(origin[i])] != after[i])
            return ::testing::AssertionFailure() << "byte " << i << " changed outside the changes";
    return ::testing::AssertionSuccess();
}

class PieceFileUndo : public ::testing::Test {
protected:
    void OpenWith(const Bytes& bytes) {
        m_path = m_dir.File("doc.bin");
        WriteFile(m_path, bytes);
        ASSERT_TRUE(m_file.Open(m_path.c_str(), kReadWrite));
        m_file.EnableHistory(true);
    }
    void Overwrite(std::int64_t at, const std::string& text) {
        m_file.WriteAt(at, text.data(), static_cast<std::int64_t>(text.size()));
    }
    void Insert(std::int64_t at, std::uint32_t count, int value) {
        if (m_bTable)
            return static_cast<void>(m_file.Table().Insert(at, count, value));
        m_file.Seek(at, CFile64::begin);
        m_file.Insert(count, value);
    }
    void Delete(std::int64_t at, std::int64_t count) {
        if (m_bTable)
            return static_cast<void>(m_file.Table().Remove(at, count));
        m_file.Seek(at, CFile64::begin);
        m_file.Delete(count);
    }
    std::uint64_t Undo(CContentChanges* changes) {
        return m_bTable ? m_file.Table().Undo(changes) : m_file.Undo(changes);
    }
    std::uint64_t Redo(CContentChanges* changes) {
        return m_bTable ? m_file.Table().Redo(changes) : m_file.Redo(changes);
    }
    void Flush() {
        if (m_bTable)
            m_file.Table().Commit();
        else
            m_file.Flush();
    }

    TempDir m_dir;
    std::string m_path;
    CPieceFile64 m_file;
    bool m_bTable = false; // edits, undo, redo and saves straight on the table
};

// The random rounds run through the face and straight on the table.
class PieceFileUndoModel : public PieceFileUndo, public ::testing::WithParamInterface<bool> {
protected:
    PieceFileUndoModel() { m_bTable = GetParam(); }
};

// The model: every content the history can reach, the one shown, the one
// saved (-1: none reachable) and the piece count each content was left with.
struct Model {
    std::vector<Bytes> contents;
    std::vector<int> pieces;
    size_t at = 0;
    int saved = 0;

    void Push(Bytes content, int pieceCount) {
        contents.resize(at + 1);
        pieces.resize(at + 1);
        if (saved > static_cast<int>(at))
            saved = -1;
        contents.push_back(std::move(content));
        pieces.push_back(pieceCount);
        ++at;
    }
    // After a save that let old files go: only `undo` steps back and `redo`
    // forth are left.
    void Keep(int undo, int redo) {
        const size_t first = at - static_cast<size_t>(undo);
        contents.erase(contents.begin() + static_cast<std::ptrdiff_t>(at + 1 + size_t(redo)),
                       contents.end());
        pieces.erase(pieces.begin() + static_cast<std::ptrdiff_t>(at + 1 + size_t(redo)),
                     pieces.end());
        contents.erase(contents.begin(), contents.begin() + static_cast<std::ptrdiff_t>(first));
        pieces.erase(pieces.begin(), pieces.begin() + static_cast<std::ptrdiff_t>(first));
        saved -= static_cast<int>(first);
        if (saved >= static_cast<int>(contents.size()))
            saved = -1;
        at -= first;
    }
};

} // namespace

INSTANTIATE_TEST_SUITE_P(, PieceFileUndoModel, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& param) {
                             return param.param ? "Table" : "Face";
                         });

TEST_P(PieceFileUndoModel, RandomEditsUndosRedosAndSavesFollowTheModel) {
    // Bytes from a small alphabet, so a replace-all finds enough occurrences
    // to pass the piece limit and save in the middle of its step.
    std::mt19937_64 rng(17);
    const auto letters = [&](size_t count) {
        Bytes bytes(count);
        for (auto& byte : bytes)
            byte = static_cast<std::uint8_t>('A' + rng() % 4);
        return bytes;
    };
    OpenWith(letters(3000));
    Model model;
    const auto restart = [&] {
        model = Model();
        model.contents.push_back(Content(m_file));
        model.pieces.push_back(m_file.GetPieceCount());
    };
    restart();

    // One random edit that changes the list (every one records something).
    const auto edit = [&] {
        const std::int64_t length = m_file.GetLength();
        const int kind = length == 0 ? 1 : static_cast<int>(rng() % 3);
        const auto at = static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(length + 1));
        if (kind == 1) {
            Insert(at, 1 + static_cast<std::uint32_t>(rng() % 300),
                   'A' + static_cast<int>(rng() % 4));
            return;
        }
        const std::int64_t from = std::min(at, length - 1);
        const std::int64_t count = 1 + static_cast<std::int64_t>(rng() % (rng() % 8 ? 40 : 900));
        if (kind == 0) {
            const Bytes bytes = letters(static_cast<size_t>(std::min(count, length - from)));
            m_file.WriteAt(from, bytes.data(), static_cast<std::int64_t>(bytes.size()));
        } else {
            Delete(from, count);
        }
    };
    // A whole replace as the Replace dialog runs it: one step, saving (in place
    // when the lengths match, else rewritten) each time the list passes the limit.
    const auto replaceAll = [&] {
        ReplaceRequest request;
        const auto letter = [&] { return static_cast<char>('A' + rng() % 4); };
        request.find = std::string(1 + rng() % 2, letter());
        const auto shrink = m_file.GetLength() > 4000 || rng() % 3 == 0;
        const size_t length = request.find.size() + (shrink ? 0 : 1) - (rng() % 2 ? 1 : 0);
        request.replacement = std::string(length, letter());
        // Counts the saves, which the model cannot see: the content saved
        // part-way is none of its contents.
        struct CountingTarget : CPieceFileReplaceTarget {
            using CPieceFileReplaceTarget::CPieceFileReplaceTarget;
            void Flush() override {
                CPieceFileReplaceTarget::Flush();
                ++flushes;
            }
            int flushes = 0;
        } target(m_file);
        m_file.BeginStep();
        const ReplaceResult result = RunReplace(target, request);
        m_file.EndStep();
        EXPECT_FALSE(result.error);
        if (result.count == 0)
            return;
        model.Push(Content(m_file), m_file.GetPieceCount());
        if (target.flushes > 0)
            model.saved = -1;
    };

    const int rounds = 10000 / kOpScale;
    int drops = 0;
    for (int round = 0; round < rounds; ++round) {
        const auto choice = rng() % 200; // saves sync the file: keep them few
        if (choice < 95) {               // a step of one edit, or of several
            const int edits = choice < 50 ? 1 : 1 + static_cast<int>(rng() % 12);
            m_file.BeginStep();
            for (int i = 0; i < edits; ++i)
                edit();
            m_file.EndStep();
            model.Push(Content(m_file), m_file.GetPieceCount());
        } else if (choice < 138) {
            CContentChanges changes;
            const std::uint64_t id = Undo(&changes);
            EXPECT_EQ(id != 0, model.at > 0);
            if (model.at > 0) {
                --model.at;
                ASSERT_TRUE(ChangesExplain(model.contents[model.at + 1], Content(m_file), changes))
                    << "round " << round;
            }
        } else if (choice < 181) {
            CContentChanges changes;
            const std::uint64_t id = Redo(&changes);
            EXPECT_EQ(id != 0, model.at + 1 < model.contents.size());
            if (model.at + 1 < model.contents.size()) {
                ++model.at;
                ASSERT_TRUE(ChangesExplain(model.contents[model.at - 1], Content(m_file), changes))
                    << "round " << round;
            }
        } else if (choice < 183) {
            Flush();
            ASSERT_EQ(ReadFile(m_path), model.contents[model.at]) << "round " << round;
            model.saved = static_cast<int>(model.at);
            model.pieces[model.at] = 1;
        } else if (choice < 185) { // a step with saves between its edits, in place or not
            m_file.BeginStep();
            const bool inPlace = rng() % 2;
            const int saves = 1 + static_cast<int>(rng() % 3);
            bool savedLast = false;
            for (int i = 0; i < saves; ++i) {
                if (inPlace) {
                    const Bytes bytes = letters(1 + rng() % 20);
                    const auto at = static_cast<std::int64_t>(
                        rng() % static_cast<std::uint64_t>(m_file.GetLength()));
                    m_file.WriteAt(at, bytes.data(),
                                   std::min<std::int64_t>(static_cast<std::int64_t>(bytes.size()),
                                                          m_file.GetLength() - at));
                } else {
                    edit();
                }
                Flush();
                savedLast = rng() % 2;
                if (!savedLast)
                    edit();
            }
            m_file.EndStep();
            model.Push(Content(m_file), m_file.GetPieceCount());
            model.saved = savedLast ? static_cast<int>(model.at) : -1;
        } else if (choice < 199) {
            replaceAll();
        } else { // opened again: no history, so the next save inside a step is the first
            m_file.Flush();
            ASSERT_TRUE(m_file.Open(m_path.c_str(), kReadWrite));
            restart();
        }
        if (m_file.TakeDroppedSteps()) {
            ASSERT_LE(m_file.GetUndoCount(), static_cast<int>(model.at));
            ASSERT_LE(m_file.GetRedoCount(),
                      static_cast<int>(model.contents.size() - model.at - 1));
            model.Keep(m_file.GetUndoCount(), m_file.GetRedoCount());
            ++drops;
        }
        ASSERT_EQ(Content(m_file), model.contents[model.at]) << "round " << round;
        ASSERT_EQ(m_file.CheckInvariants(), "") << "round " << round;
        ASSERT_EQ(m_file.GetPieceCount(), model.pieces[model.at]) << "round " << round;
        ASSERT_EQ(m_file.IsAtSavedState(), model.saved == static_cast<int>(model.at))
            << "round " << round;
        ASSERT_EQ(m_file.CanUndo(), model.at > 0) << "round " << round;
        ASSERT_EQ(m_file.CanRedo(), model.at + 1 < model.contents.size()) << "round " << round;
    }
    EXPECT_GT(drops, 0); // saves let old files go, and the model followed
}

TEST_F(PieceFileUndo, ScatteredEditsUndoneAndRedoneGiveBackTheSameList) {
    OpenWith(RandomBytes(5, 1 << 20));
    std::mt19937_64 rng(9);
    const int edits = 25000 / kOpScale; // the 100,000 of the benchmark take a minute here
    for (int i = 0; i < edits; ++i) {
        const auto at =
            static_cast<std::int64_t>(rng() % static_cast<std::uint64_t>(m_file.GetLength()));
        switch (i % 3) {
        case 0:
            Overwrite(at, "x");
            break;
        case 1:
            Insert(at, 1, 'y');
            break;
        default:
            Delete(at, 1);
            break;
        }
    }
    const Bytes edited = Content(m_file);
    const int pieces = m_file.GetPieceCount();
    std::vector<CPieceInfo> list;
    for (int i = 0; i < pieces; ++i)
        list.push_back(m_file.GetPieceInfo(i));

    int undone = 0;
    while (m_file.Undo() != 0)
        ++undone;
    EXPECT_EQ(undone, edits);
    EXPECT_EQ(Content(m_file), ReadFile(m_path));
    EXPECT_EQ(m_file.GetPieceCount(), 1);
    EXPECT_TRUE(m_file.IsAtSavedState());
    while (m_file.Redo() != 0) {
    }
    EXPECT_EQ(Content(m_file), edited);
    ASSERT_EQ(m_file.GetPieceCount(), pieces);
    for (int i = 0; i < pieces; ++i) {
        const CPieceInfo info = m_file.GetPieceInfo(i);
        ASSERT_EQ(info.m_nStart, list[static_cast<size_t>(i)].m_nStart);
        ASSERT_EQ(info.m_nLength, list[static_cast<size_t>(i)].m_nLength);
        ASSERT_EQ(info.m_nFileOffset, list[static_cast<size_t>(i)].m_nFileOffset);
    }
    EXPECT_EQ(m_file.CheckInvariants(), "");
    EXPECT_FALSE(m_file.IsAtSavedState());
}

// Undo after each kind of save gives back bytes the file no longer holds:
// rewritten (the replaced file stays readable) and overwritten in place (the
// overwritten bytes were kept first), over several saves in a row.
TEST_F(PieceFileUndo, UndoReachesBackOverSavesOfBothKinds) {
    const Bytes original = RandomBytes(7, 20000);
    OpenWith(original);
    Overwrite(100, "AAAA"); // in place
    m_file.Flush();
    Overwrite(102, "BB"); // in place over the bytes of the first save
    m_file.Flush();
    Delete(5000, 3); // rewrite
    m_file.Flush();
    Overwrite(101, "DDD"); // in place again, over the rewritten file
    m_file.Flush();
    const Bytes last = ReadFile(m_path);

    Bytes expected = original;
    std::vector<Bytes> states{expected};
    std::copy_n("AAAA", 4, expected.begin() + 100);
    states.push_back(expected);
    std::copy_n("BB", 2, expected.begin() + 102);
    states.push_back(expected);
    expected.erase(expected.begin() + 5000, expected.begin() + 5003);
    states.push_back(expected);
    std::copy_n("DDD", 3, expected.begin() + 101);
    ASSERT_EQ(last, expected);

    for (int step = 3; step >= 0; --step) {
        ASSERT_NE(m_file.Undo(), 0u);
        EXPECT_EQ(Content(m_file), states[static_cast<size_t>(step)]) << step;
        EXPECT_FALSE(m_file.IsAtSavedState());
    }
    EXPECT_FALSE(m_file.CanUndo());
    // Saving the original back (a rewrite: the pieces read older versions).
    m_file.Flush();
    EXPECT_EQ(ReadFile(m_path), original);
    for (size_t step = 1; step < states.size(); ++step) {
        ASSERT_NE(m_file.Redo(), 0u);
        EXPECT_EQ(Content(m_file), states[step]);
    }
    ASSERT_NE(m_file.Redo(), 0u);
    EXPECT_EQ(Content(m_file), last);
    EXPECT_EQ(m_file.CheckInvariants(), "");
}

// A save that fails part-way must not leave the kept bytes overwritten: the
// retry keeps what it kept the first time.
TEST_F(PieceFileUndo, FailedSaveInPlaceKeepsWhatUndoNeeds) {
    const Bytes original = RandomBytes(11, 300000);
    OpenWith(original);
    Overwrite(10, "first");
    Overwrite(200000, "second");
    {
        int writes = 0;
        ScopedFaults faults([&](platform::FileOp op, const std::string&, std::int64_t*) {
            return op == platform::FileOp::Write && ++writes > 1 ? ENOSPC : 0;
        });
        CatchFileError([&] { m_file.Flush(); });
    }
    m_file.Flush();
    m_file.Undo();
    EXPECT_FALSE(m_file.IsAtSavedState());
    m_file.Undo();
    EXPECT_EQ(Content(m_file), original);
    EXPECT_TRUE(m_file.CanRedo());
}

TEST_F(PieceFileUndo, StepsGroupEditsAndCarryTheirIds) {
    OpenWith(RandomBytes(13, 10000));
    const Bytes original = Content(m_file);
    const std::uint64_t typing = m_file.BeginStep();
    for (std::int64_t at = 100; at < 200; ++at)
        Overwrite(at, "t");
    m_file.EndStep();
    const Bytes typed = Content(m_file);
    const std::uint64_t outer = m_file.BeginStep();
    EXPECT_EQ(m_file.BeginStep(), outer); // nested: one step
    Delete(0, 5000);
    m_file.EndStep();
    Insert(0, 4, 'n');
    m_file.EndStep();
    m_file.BeginStep(); // a step that changes nothing is no step
    m_file.EndStep();

    EXPECT_EQ(m_file.GetUndoStepId(), outer);
    EXPECT_EQ(m_file.Undo(), outer);
    EXPECT_EQ(Content(m_file), typed);
    EXPECT_EQ(m_file.GetRedoStepId(), outer);
    EXPECT_EQ(m_file.Undo(), typing);
    EXPECT_EQ(Content(m_file), original);
    EXPECT_EQ(m_file.GetPieceCount(), 1);
    EXPECT_TRUE(m_file.IsAtSavedState());
    EXPECT_EQ(m_file.Undo(), 0u);
    EXPECT_EQ(m_file.Redo(), typing);
    // A new edit ends what could be redone.
    Overwrite(0, "z");
    EXPECT_FALSE(m_file.CanRedo());
}

// Undoing the delete of a large range keeps no copy of the file's bytes: the
// pieces themselves come back.
TEST_F(PieceFileUndo, UndoingAHugeDeleteRestoresTheFilePieces) {
    m_path = m_dir.File("big.bin");
    MakeSparseFile(m_path, std::int64_t{5} << 30, {{(std::int64_t{3} << 30) + 7, Bytes{'q'}}});
    ASSERT_TRUE(m_file.Open(m_path.c_str(), kReadWrite));
    m_file.EnableHistory(true);
    Delete(10, std::int64_t{4} << 30);
    EXPECT_EQ(m_file.GetLength(), std::int64_t{1} << 30);
    m_file.Undo();
    EXPECT_EQ(m_file.GetLength(), std::int64_t{5} << 30);
    EXPECT_EQ(m_file.GetPieceCount(), 1);
    std::uint8_t byte = 0;
    EXPECT_EQ(m_file.ReadAt((std::int64_t{3} << 30) + 7, &byte, 1), 1);
    EXPECT_EQ(byte, 'q');
}

// A failed open used to leave pieces reading a closed descriptor, which the
// next file opened could reuse: reads then gave another file's bytes.
TEST_F(PieceFileUndo, FailedOpenLeavesNothingOfTheOldFile) {
    OpenWith(RandomBytes(19, 5000));
    Overwrite(0, "edit");
    EXPECT_FALSE(m_file.Open(m_dir.File("missing.bin").c_str(), kReadWrite));
    EXPECT_EQ(m_file.GetLength(), 0);
    EXPECT_EQ(m_file.GetPieceCount(), 1);
    EXPECT_FALSE(m_file.CanUndo());
    EXPECT_EQ(m_file.CheckInvariants(), "");
    // The old file is free again: nothing holds its handle or lock.
    CPieceFile64 other;
    EXPECT_TRUE(other.Open(m_path.c_str(), kReadWrite));
}

// A delete across many pieces, undone and redone inside a longer step and
// alone: the pieces come back with their starts.
TEST_F(PieceFileUndo, DeleteAcrossManyPiecesComesBackWhole) {
    OpenWith(RandomBytes(23, 20000));
    m_file.EnableHistory(false);
    for (std::int64_t at = 100; at < 19000; at += 150)
        Insert(at, 3, 'i');
    m_file.EnableHistory(true);
    const Bytes before = Content(m_file);
    const int pieces = m_file.GetPieceCount();
    m_file.BeginStep();
    Insert(50, 2, 'a');   // before the range: moves the pieces put back
    Delete(90, 12000);    // across about 80 pieces
    Overwrite(95, "zz");  // after the cut
    Insert(8000, 5, 'e'); // well after it
    m_file.EndStep();
    const Bytes after = Content(m_file);
    Delete(3000, 4000); // a step of its own
    for (int round = 0; round < 3; ++round) {
        m_file.Undo();
        ASSERT_EQ(m_file.CheckInvariants(), "");
        m_file.Undo();
        ASSERT_EQ(m_file.CheckInvariants(), "");
        EXPECT_EQ(Content(m_file), before);
        EXPECT_EQ(m_file.GetPieceCount(), pieces);
        m_file.Redo();
        ASSERT_EQ(m_file.CheckInvariants(), "");
        EXPECT_EQ(Content(m_file), after);
        m_file.Redo();
    }
}
