// The replace loop on a real piece table against a plain byte vector with the
// same replacements applied: random contents, patterns and replacements of
// every relative length, whole content and limited range, with and without
// case, and long runs that pass the piece limit and flush to disk.
#include "commands/ReplaceLoop.h"
#include "storage/CPieceFile64.h"

#include "StorageTestSupport.h"

#include <random>

using namespace storage_test;

namespace {

bool Same(std::uint8_t a, std::uint8_t b, bool matchCase) {
    const auto lower = [](std::uint8_t c) {
        return c >= 'A' && c <= 'Z' ? static_cast<std::uint8_t>(c + 32) : c;
    };
    return a == b || (!matchCase && lower(a) == lower(b));
}

struct ModelResult {
    Bytes content;
    std::int64_t count = 0;
    std::int64_t next = 0;
};

// Each occurrence wholly inside [start, limit) of the original content is
// replaced, left to right, never overlapping one already replaced: the output
// is built in one pass, so the moving limit of the loop is a fixed one here.
ModelResult Model(const Bytes& content, const ReplaceRequest& r) {
    ModelResult out;
    const auto flen = static_cast<std::int64_t>(r.find.size());
    const auto size = static_cast<std::int64_t>(content.size());
    const std::int64_t end = r.limit == -1 ? size : std::min(r.limit, size);
    const std::int64_t first = std::min(r.start, size);
    out.content.assign(content.begin(), content.begin() + first);
    out.next = r.start;
    std::int64_t i = first;
    while (i < size) {
        bool match = i + flen <= end && (r.all || out.count == 0);
        for (std::int64_t k = 0; k < flen && match; ++k)
            match = Same(content[size_t(i + k)], std::uint8_t(r.find[size_t(k)]), r.matchCase);
        if (!match) {
            out.content.push_back(content[size_t(i++)]);
            continue;
        }
        out.content.insert(out.content.end(), r.replacement.begin(), r.replacement.end());
        out.next = std::int64_t(out.content.size());
        ++out.count;
        i += flen;
    }
    return out;
}

Bytes Content(CPieceFile64& file) {
    Bytes bytes(static_cast<size_t>(file.GetLength()));
    file.ReadAt(0, bytes.data(), file.GetLength());
    return bytes;
}

CByteString RandomText(std::mt19937_64& rng, int minLength, int maxLength) {
    static const char kAlphabet[] = {'a', 'b', 'A', 'B', '\0'};
    const int length = minLength + int(rng() % unsigned(maxLength - minLength + 1));
    CByteString text;
    for (int i = 0; i < length; ++i)
        text += kAlphabet[rng() % 5];
    return text;
}

class ReplaceLoop : public ::testing::Test {
protected:
    void OpenWith(const Bytes& bytes,
                  unsigned flags = CFile64::modeReadWrite | CFile64::shareDenyWrite) {
        m_file.reset(); // let go of the file before writing it anew
        m_path = m_dir.File("replace.bin");
        WriteFile(m_path, bytes);
        m_file = std::make_unique<CPieceFile64>();
        ASSERT_TRUE(m_file->Open(m_path.c_str(), flags));
    }

    TempDir m_dir;
    std::string m_path;
    std::unique_ptr<CPieceFile64> m_file;
};

} // namespace

TEST_F(ReplaceLoop, MatchesThePlainModel) {
    const std::uint64_t seed = 20261207;
    std::mt19937_64 rng(seed);
    for (int round = 0; round < 400; ++round) {
        const CByteString text = RandomText(rng, 0, 200);
        const Bytes original(text.begin(), text.end());
        OpenWith(original);
        ReplaceRequest request;
        request.find = RandomText(rng, 1, 3);
        request.replacement = RandomText(rng, 0, 4);
        request.matchCase = int(rng() % 2);
        request.all = rng() % 4 != 0;
        const auto size = std::int64_t(original.size());
        request.start = size == 0 ? 0 : std::int64_t(rng() % unsigned(size + 1)) / 2;
        if (rng() % 2) // a selection
            request.limit =
                request.start + std::int64_t(rng() % unsigned(size - request.start + 1));

        const ModelResult expected = Model(original, request);
        CPieceFileReplaceTarget target(*m_file);
        const ReplaceResult result = RunReplace(target, request);
        SCOPED_TRACE(testing::Message() << "seed " << seed << " round " << round);
        ASSERT_EQ(Content(*m_file), expected.content);
        EXPECT_EQ(result.count, expected.count);
        EXPECT_EQ(result.next, expected.next);
        EXPECT_EQ(result.end, !request.all && expected.count == 1 ? ReplaceEnd::Replaced
                                                                  : ReplaceEnd::NotFound);
        EXPECT_EQ(m_file->CheckInvariants(), "");
        m_file.reset();
    }
}

TEST_F(ReplaceLoop, LongRunsFlushPastThePieceLimitAskingOnce) {
    // Thousands of occurrences: the piece count passes the limit again and
    // again; the question comes once, and every later flush goes without it.
    // A write turns at most a few KiB around it into a memory piece, so the
    // occurrences lie further apart than that.
    constexpr int kCount = 1500;
    constexpr size_t kSpacing = 5000;
    Bytes original(kCount * kSpacing, 0);
    for (size_t i = 0; i < kCount; ++i)
        original[i * kSpacing + 7] = 'x';
    for (const CByteString& replacement : {CByteString("Q"), CByteString("QRS")}) {
        OpenWith(original);
        ReplaceRequest request{"x", replacement, 1, true, 0, -1};
        int asked = 0;
        int flushes = 0;
        struct Counting : CPieceFileReplaceTarget {
            using CPieceFileReplaceTarget::CPieceFileReplaceTarget;
            void Flush() override {
                ++*flushes;
                CPieceFileReplaceTarget::Flush();
            }
            int* flushes = nullptr;
        } target(*m_file);
        target.flushes = &flushes;
        ReplaceCallbacks callbacks;
        callbacks.confirmFlush = [&] { return ++asked, true; };
        const ReplaceResult result = RunReplace(target, request, callbacks);
        const ModelResult expected = Model(original, request);
        EXPECT_EQ(result.count, kCount);
        EXPECT_EQ(asked, 1);
        EXPECT_GE(flushes, 2);
        EXPECT_LE(m_file->GetPieceCount(), kReplacePieceLimit + 3);
        EXPECT_EQ(Content(*m_file), expected.content);
        // What was flushed is on disk; the rest is still in the pieces.
        m_file->Flush();
        EXPECT_EQ(ReadFile(m_path), expected.content);
        m_file.reset();
    }

    // Cancel at the question: the replacements so far stay, nothing flushed.
    OpenWith(original);
    CPieceFileReplaceTarget target(*m_file);
    ReplaceCallbacks decline;
    decline.confirmFlush = [] { return false; };
    const ReplaceResult result = RunReplace(target, {"x", "QRS", 1, true, 0, -1}, decline);
    EXPECT_EQ(result.end, ReplaceEnd::FlushDeclined);
    EXPECT_GT(result.count, 300);
    EXPECT_LT(result.count, kCount);
    EXPECT_EQ(ReadFile(m_path), original);
    EXPECT_EQ(Content(*m_file)[size_t(result.next - 3)], 'Q');
}

TEST_F(ReplaceLoop, EndsThatAModelCannotShow) {
    constexpr size_t kManyCount = 1500;
    // A replacement holding the find bytes: each search starts after it.
    OpenWith({'A', 0, 'A'});
    CPieceFileReplaceTarget target(*m_file);
    ReplaceResult result = RunReplace(target, {"A", "AA", 1, true, 0, -1});
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(Content(*m_file), (Bytes{'A', 'A', 0, 'A', 'A'}));

    // Nothing to find: refused before anything changes.
    result = RunReplace(target, {"", "Z", 1, true, 0, -1});
    EXPECT_EQ(result.end, ReplaceEnd::EmptyFind);
    EXPECT_EQ(result.count, 0);
    EXPECT_EQ(Content(*m_file), (Bytes{'A', 'A', 0, 'A', 'A'}));

    // Cancelled through the progress: what was replaced stays.
    ReplaceCallbacks cancelSecond;
    int steps = 0;
    cancelSecond.step = [&](std::int64_t) { return ++steps == 2; };
    result = RunReplace(target, {"A", "B", 1, true, 0, -1}, cancelSecond);
    EXPECT_EQ(result.end, ReplaceEnd::Cancelled);
    EXPECT_EQ(result.count, 2);
    EXPECT_EQ(Content(*m_file), (Bytes{'B', 'B', 0, 'A', 'A'}));
    // A search the user cancelled counts as cancelled, not as not found.
    ReplaceCallbacks searchCancelled;
    searchCancelled.searchCancelled = [] { return true; };
    EXPECT_EQ(RunReplace(target, {"Z", "B", 1, true, 0, -1}, searchCancelled).end,
              ReplaceEnd::Cancelled);

    // A read-only document refuses the first replacement: nothing changes.
    OpenWith({'A', 'b', 'A'}, CFile64::modeRead | CFile64::shareDenyWrite);
    CPieceFileReplaceTarget readOnly(*m_file);
    for (const char* replacement : {"Z", "", "ZZ"}) {
        result = RunReplace(readOnly, {"A", replacement, 1, true, 0, -1});
        EXPECT_EQ(result.end, ReplaceEnd::Failed);
        EXPECT_EQ(result.count, 0);
        ASSERT_TRUE(result.error);
        EXPECT_EQ(CatchFileError([&] { std::rethrow_exception(result.error); }).m_cause,
                  CFileException::accessDenied);
        EXPECT_EQ(Content(*m_file), (Bytes{'A', 'b', 'A'}));
    }

    // A flush that fails stops the loop; the replacements so far stay in the
    // pieces and the file on disk is whole.
    Bytes many(kManyCount * 5000, 'y');
    for (size_t i = 0; i < kManyCount; ++i)
        many[i * 5000] = 'x';
    OpenWith(many);
    CPieceFileReplaceTarget failing(*m_file);
    ScopedFaults faults([](platform::FileOp op, const std::string&, std::int64_t*) {
        return op == platform::FileOp::CreateTemp ? ENOSPC : 0;
    });
    result = RunReplace(failing, {"x", "QQ", 1, true, 0, -1});
    EXPECT_EQ(result.end, ReplaceEnd::Failed);
    EXPECT_GT(result.count, 0);
    EXPECT_EQ(ReadFile(m_path), many);
    const Bytes edited = Content(*m_file);
    EXPECT_EQ(std::count(edited.begin(), edited.end(), 'Q'), 2 * result.count);
}
