// The piece table driven side by side with a plain model of the content: long
// random sequences of overwrite, insert, delete, seek, read, find and commit,
// checking content, length, position and the piece invariants after every step.
// Each sequence runs through the stream face (position, Seek, Read, Write...)
// and again straight on the table (every call at the driver's own offset,
// checking the change each edit returns).
#include "storage/CPieceFile64.h"

#include "StorageTestSupport.h"

#include <chrono>
#include <climits>
#include <cstring>
#include <sstream>

using namespace storage_test;

namespace {

constexpr unsigned kReadWrite = CFile64::modeReadWrite | CFile64::shareDenyWrite;
constexpr std::int64_t kRewriteLimit = 100000000;

// The content as one vector of bytes.
class VectorModel {
public:
    explicit VectorModel(Bytes bytes) : m_bytes(std::move(bytes)) {}
    std::int64_t Length() const { return static_cast<std::int64_t>(m_bytes.size()); }
    void Overwrite(std::int64_t pos, const Bytes& data) {
        std::copy(data.begin(), data.end(), m_bytes.begin() + pos);
    }
    void Insert(std::int64_t pos, std::uint32_t count, std::uint8_t value) {
        m_bytes.insert(m_bytes.begin() + pos, count, value);
    }
    void Delete(std::int64_t pos, std::int64_t count) {
        m_bytes.erase(m_bytes.begin() + pos, m_bytes.begin() + pos + count);
    }
    Bytes Read(std::int64_t pos, std::int64_t count) const {
        count = std::min(count, Length() - pos);
        return Bytes(m_bytes.begin() + pos, m_bytes.begin() + pos + count);
    }
    static constexpr bool kHuge = false;

private:
    Bytes m_bytes;
};

// The content of a huge sparse file as a list of runs: ranges of the original
// file (zeros except a few islands) and inserted or overwritten bytes.
class RunModel {
public:
    RunModel(std::int64_t length, std::vector<std::pair<std::int64_t, Bytes>> islands)
        : m_islands(std::move(islands)), m_length(length) {
        m_runs.push_back({length, 0, {}});
    }
    std::int64_t Length() const { return m_length; }
    void Overwrite(std::int64_t pos, const Bytes& data) {
        const auto count = static_cast<std::int64_t>(data.size());
        const size_t first = Split(pos);
        const size_t last = Split(pos + count);
        m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(first),
                     m_runs.begin() + static_cast<std::ptrdiff_t>(last));
        m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(first), {count, -1, data});
    }
    void Insert(std::int64_t pos, std::uint32_t count, std::uint8_t value) {
        const size_t at = Split(pos);
        m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(at),
                      {count, -1, Bytes(count, value)});
        m_length += count;
    }
    void Delete(std::int64_t pos, std::int64_t count) {
        const size_t first = Split(pos);
        const size_t last = Split(pos + count);
        m_runs.erase(m_runs.begin() + static_cast<std::ptrdiff_t>(first),
                     m_runs.begin() + static_cast<std::ptrdiff_t>(last));
        m_length -= count;
    }
    Bytes Read(std::int64_t pos, std::int64_t count) const {
        count = std::min(count, m_length - pos);
        Bytes out;
        out.reserve(static_cast<size_t>(count));
        std::int64_t runStart = 0;
        for (const Run& run : m_runs) {
            const std::int64_t runEnd = runStart + run.length;
            for (std::int64_t at = std::max(pos, runStart); at < std::min(pos + count, runEnd);
                 ++at) {
                const std::int64_t rel = at - runStart;
                out.push_back(run.fileOffset >= 0 ? OriginalAt(run.fileOffset + rel)
                                                  : run.bytes[static_cast<size_t>(rel)]);
            }
            runStart = runEnd;
        }
        return out;
    }
    static constexpr bool kHuge = true;

private:
    struct Run {
        std::int64_t length;
        std::int64_t fileOffset; // -1: the bytes are in `bytes`
        Bytes bytes;
    };

    std::uint8_t OriginalAt(std::int64_t offset) const {
        for (const auto& [start, bytes] : m_islands)
            if (offset >= start && offset < start + static_cast<std::int64_t>(bytes.size()))
                return bytes[static_cast<size_t>(offset - start)];
        return 0;
    }
    // Makes a run start at `pos`; returns its index (the run count at the end).
    size_t Split(std::int64_t pos) {
        std::int64_t runStart = 0;
        for (size_t i = 0; i < m_runs.size(); ++i) {
            if (runStart == pos)
                return i;
            Run& run = m_runs[i];
            if (pos < runStart + run.length) {
                const std::int64_t rel = pos - runStart;
                Run tail{run.length - rel, run.fileOffset >= 0 ? run.fileOffset + rel : -1, {}};
                if (run.fileOffset < 0) {
                    tail.bytes.assign(run.bytes.begin() + rel, run.bytes.end());
                    run.bytes.resize(static_cast<size_t>(rel));
                }
                run.length = rel;
                m_runs.insert(m_runs.begin() + static_cast<std::ptrdiff_t>(i) + 1, std::move(tail));
                return i + 1;
            }
            runStart += run.length;
        }
        return m_runs.size();
    }

    std::vector<std::pair<std::int64_t, Bytes>> m_islands;
    std::vector<Run> m_runs;
    std::int64_t m_length;
};

std::uint8_t FoldByte(std::uint8_t b) {
    return b >= 'A' && b <= 'Z' ? b + 32 : b;
}

bool MatchesAt(const Bytes& content, size_t at, const std::string& pattern, bool matchCase) {
    for (size_t k = 0; k < pattern.size(); ++k) {
        const auto p = static_cast<std::uint8_t>(pattern[k]);
        if (matchCase ? content[at + k] != p : FoldByte(content[at + k]) != FoldByte(p))
            return false;
    }
    return true;
}

// The reference search, over `content`, which holds the bytes from `base` on.
std::int64_t NaiveFind(const Bytes& content, std::int64_t base, const std::string& pattern,
                       bool matchCase, bool down, std::int64_t start, std::int64_t limit) {
    if (pattern.empty())
        return start;
    const auto len = static_cast<std::int64_t>(pattern.size());
    const std::int64_t end = base + static_cast<std::int64_t>(content.size());
    if (down) {
        const std::int64_t effectiveLimit = limit == -1 ? INT64_MAX : limit;
        for (std::int64_t s = start; s + len <= end; ++s)
            if (MatchesAt(content, static_cast<size_t>(s - base), pattern, matchCase))
                return s + len <= effectiveLimit ? s : -1;
        return -1;
    }
    for (std::int64_t s = std::min(std::min(start, end) - 1, end - len); s >= base; --s)
        if (MatchesAt(content, static_cast<size_t>(s - base), pattern, matchCase))
            return s + len - 1;
    return -1;
}

struct Options {
    std::uint32_t maxInsert = 64;
    std::int64_t maxDelete = 96;
    std::uint32_t maxWrite = 64;
    int findEvery = 25;    // about one step in this many is a search
    int flushEvery = 2000; // about one step in this many is a commit
    int fullCheckEvery = 500;
    bool overwritePhases = true; // every other 1000 steps the length stays, so saves go in place
    std::vector<std::int64_t> hotSpots; // offsets worth editing around
};

// Which interface a sequence drives.
enum class Through { kFace, kTable };

std::string ThroughName(const ::testing::TestParamInfo<Through>& info) {
    return info.param == Through::kFace ? "Face" : "Table";
}

template <class Model> class Driver {
public:
    Driver(CPieceFile64& file, Model& model, std::string path, std::uint64_t seed, Options options,
           Through through)
        : m_file(file), m_table(file.Table()), m_model(model), m_path(std::move(path)), m_rng(seed),
          m_options(std::move(options)), m_bTable(through == Through::kTable) {}

    void Run(int steps) {
        for (m_step = 0; m_step < steps; ++m_step) {
            Step();
            Check();
            if (::testing::Test::HasFatalFailure() || ::testing::Test::HasNonfatalFailure())
                return;
        }
        CheckAll();
    }

private:
    std::string Where() const { return "step " + std::to_string(m_step); }
    // Where the face's position must be: the table never moves it.
    std::int64_t FacePosition() const { return m_bTable ? 0 : m_pos; }
    std::uint64_t Next(std::uint64_t bound) { return bound == 0 ? 0 : m_rng() % bound; }

    std::int64_t PickOffset() {
        const std::int64_t length = m_model.Length();
        switch (Next(10)) {
        case 0:
            return 0;
        case 1:
            return length;
        case 2:
        case 3: { // at or beside a piece boundary
            const CPieceInfo piece = m_file.GetPieceInfo(
                static_cast<int>(Next(static_cast<std::uint64_t>(m_file.GetPieceCount()))));
            const std::int64_t at = piece.m_nStart + static_cast<std::int64_t>(Next(3)) - 1;
            return std::clamp<std::int64_t>(at, 0, length);
        }
        case 4:
            return std::clamp<std::int64_t>(m_pos + static_cast<std::int64_t>(Next(9)) - 4, 0,
                                            length);
        case 5:
            if (!m_options.hotSpots.empty()) {
                const std::int64_t spot = m_options.hotSpots[Next(m_options.hotSpots.size())];
                return std::clamp<std::int64_t>(spot + static_cast<std::int64_t>(Next(17)) - 8, 0,
                                                length);
            }
            [[fallthrough]];
        default:
            return static_cast<std::int64_t>(Next(static_cast<std::uint64_t>(length) + 1));
        }
    }

    std::uint32_t PickCount(std::uint32_t max) {
        switch (Next(12)) {
        case 0:
            return 0;
        case 1:
            return static_cast<std::uint32_t>(Next(max * 8ull) + 1);
        default:
            return static_cast<std::uint32_t>(Next(max) + 1);
        }
    }

    void MaybeSeek() {
        if (Next(2) == 0) {
            m_pos = PickOffset();
            if (!m_bTable) {
                ASSERT_EQ(m_file.Seek(m_pos, CFile64::begin), m_pos) << Where();
            }
        }
    }

    void Step() {
        if (Next(static_cast<std::uint64_t>(m_options.flushEvery)) == 0)
            return Flush();
        if (Next(static_cast<std::uint64_t>(m_options.findEvery)) == 0)
            return Find();
        const bool keepLength = m_options.overwritePhases && (m_step / 1000) % 2 == 1;
        switch (Next(6)) {
        case 0:
            return Seek();
        case 1:
            return Read();
        case 2:
            return Overwrite();
        case 3:
            return keepLength ? Overwrite() : Insert();
        default:
            return keepLength ? Overwrite() : Delete();
        }
    }

    void Seek() {
        if (m_bTable) // the table has no position to move
            return MaybeSeek();
        const std::int64_t length = m_model.Length();
        const unsigned origin = Next(40) == 0 ? 3 : static_cast<unsigned>(Next(3));
        std::int64_t target = PickOffset();
        if (Next(6) == 0) // just out of range
            target = Next(2) ? length + 1 + static_cast<std::int64_t>(Next(3))
                             : -1 - static_cast<std::int64_t>(Next(3));
        const std::int64_t base = origin == 1 ? m_pos : origin == 2 ? length : 0;
        const std::int64_t offset = target - base;
        if (origin > 2 || target < 0 || target > length) {
            const CFileException e = CatchFileError([&] { m_file.Seek(offset, origin); });
            EXPECT_EQ(e.m_cause, CFileException::badSeek) << Where();
            return;
        }
        ASSERT_EQ(m_file.Seek(offset, origin), target) << Where();
        m_pos = target;
    }

    void Read() {
        if (Next(4) == 0)
            return ReadAt();
        MaybeSeek();
        const std::uint32_t count = Next(20) == 0 ? 70000 : PickCount(256);
        Bytes got(count);
        const auto n = m_bTable
                           ? static_cast<std::uint32_t>(m_table.ReadAt(m_pos, got.data(), count))
                           : m_file.Read(got.data(), count);
        got.resize(n);
        ASSERT_EQ(got, m_model.Read(m_pos, count)) << Where();
        m_pos += n;
    }

    // Positional reads and writes must leave the position alone.
    void ReadAt() {
        const std::int64_t at = PickOffset();
        const std::int64_t count = Next(20) == 0 ? 70000 : PickCount(256);
        Bytes got(static_cast<size_t>(count));
        got.resize(static_cast<size_t>(m_file.ReadAt(at, got.data(), count)));
        ASSERT_EQ(got, m_model.Read(at, count)) << Where() << " read at " << at;
        ASSERT_EQ(m_file.GetPosition(), FacePosition()) << Where();
    }

    void WriteAt() {
        const std::int64_t at = PickOffset();
        const std::int64_t count =
            std::min<std::int64_t>(PickCount(m_options.maxWrite), m_model.Length() - at);
        Bytes data = RandomBytes(m_rng(), static_cast<std::uint32_t>(count));
        const CContentChange change = m_file.WriteAt(at, data.data(), count);
        EXPECT_EQ(change, (CContentChange{at, count, count})) << Where();
        m_model.Overwrite(at, data);
        ASSERT_EQ(m_file.GetPosition(), FacePosition()) << Where();
    }

    void Overwrite() {
        if (Next(4) == 0)
            return WriteAt();
        MaybeSeek();
        // Now and then around the size of the chunk a file piece gives up.
        const std::uint32_t count = Next(12) == 0 ? static_cast<std::uint32_t>(4094 + Next(4))
                                                  : PickCount(m_options.maxWrite);
        Bytes data = RandomBytes(m_rng(), count);
        const std::int64_t fits = std::min<std::int64_t>(count, m_model.Length() - m_pos);
        std::int64_t written = -1;
        CContentChange change;
        const auto write = [&] {
            if (m_bTable)
                change = m_table.Overwrite(m_pos, data.data(), count, &written);
            else
                m_file.Write(data.data(), count);
        };
        if (fits < static_cast<std::int64_t>(count)) {
            const CFileException e = CatchFileError(write);
            EXPECT_EQ(e.m_cause, CFileException::endOfFile) << Where();
        } else {
            write();
            if (m_bTable) {
                EXPECT_EQ(change, (CContentChange{m_pos, count, count})) << Where();
            }
        }
        // A write stopped at the end reports what it wrote.
        if (m_bTable && count > 0) {
            EXPECT_EQ(written, fits) << Where();
        }
        data.resize(static_cast<size_t>(fits));
        m_model.Overwrite(m_pos, data);
        m_pos += fits;
    }

    void Insert() {
        MaybeSeek();
        const std::uint32_t count = PickCount(m_options.maxInsert);
        // Letters now and then, so case folding has something to fold.
        const int value = Next(3) == 0 ? static_cast<int>('A' + Next(4) + 32 * Next(2))
                                       : static_cast<int>(m_rng());
        if (m_bTable)
            EXPECT_EQ(m_table.Insert(m_pos, count, value),
                      (CContentChange{m_pos, 0, static_cast<std::int64_t>(count)}))
                << Where();
        else
            m_file.Insert(count, value);
        m_model.Insert(m_pos, count, static_cast<std::uint8_t>(value));
    }

    void Delete() {
        MaybeSeek();
        std::int64_t count =
            static_cast<std::int64_t>(Next(static_cast<std::uint64_t>(m_options.maxDelete)) + 1);
        if (Next(1000) == 0)
            count = INT64_MAX; // everything after the position
        else if (Next(10) == 0)
            count = 0;
        const std::int64_t removed = std::min(count, m_model.Length() - m_pos);
        if (m_bTable)
            EXPECT_EQ(m_table.Remove(m_pos, count), (CContentChange{m_pos, removed, 0})) << Where();
        else
            m_file.Delete(count);
        m_model.Delete(m_pos, removed);
    }

    std::string PickPattern(bool matchCase) {
        const std::int64_t length = m_model.Length();
        std::string pattern;
        switch (Next(4)) {
        case 0: { // random bytes, mostly absent
            const Bytes bytes = RandomBytes(m_rng(), Next(4) + 1);
            pattern.assign(bytes.begin(), bytes.end());
            break;
        }
        case 1:
            pattern = Next(2) ? "aB" : "BaA";
            break;
        default: { // taken from the content, so usually present
            const std::int64_t at = PickOffset();
            const Bytes bytes = m_model.Read(at, static_cast<std::int64_t>(Next(8) + 1));
            pattern.assign(bytes.begin(), bytes.end());
            break;
        }
        }
        if (!matchCase)
            for (char& c : pattern)
                if (std::isalpha(static_cast<unsigned char>(c)) && (c & 0x80) == 0 && Next(2))
                    c = static_cast<char>(c ^ 0x20);
        (void)length;
        return pattern;
    }

    void Find() {
        const bool matchCase = Next(2) == 0;
        // Going up over a huge file without a match would read all of it.
        const bool down = Model::kHuge || Next(2) == 0;
        std::string pattern = Next(30) == 0 ? std::string() : PickPattern(matchCase);
        const std::int64_t length = m_model.Length();
        std::int64_t start = PickOffset();
        std::int64_t limit = -1;
        if (!down && Next(5) == 0)
            start = length + static_cast<std::int64_t>(Next(4)); // past the end is allowed up
        if (down && (Model::kHuge || Next(2) == 0))
            limit = std::max<std::int64_t>(
                0, start + static_cast<std::int64_t>(Next(Model::kHuge ? 200000 : 64)) - 3);
        const int cancelAfter = Next(20) == 0 ? static_cast<int>(Next(3)) : -1;
        int checks = 0;
        std::int64_t lastReached = -1;
        if (m_bTable)
            m_table.SetSearchCheck([&](std::int64_t reached) {
                lastReached = reached;
                return ++checks > cancelAfter && cancelAfter >= 0;
            });
        else
            m_file.SetCancelCheck([&] { return ++checks > cancelAfter && cancelAfter >= 0; });

        std::int64_t expected = -1;
        if (Model::kHuge) {
            const std::int64_t end = std::min(length, std::max(limit, start));
            expected = NaiveFind(m_model.Read(start, end - start), start, pattern, matchCase, down,
                                 start, limit);
        } else {
            expected =
                NaiveFind(m_model.Read(0, length), 0, pattern, matchCase, down, start, limit);
        }
        const std::int64_t result = m_bTable ? m_table.Find(pattern, matchCase, down, start, limit)
                                             : m_file.Find(pattern, matchCase, down, start, limit);
        m_file.SetCancelCheck(nullptr);
        m_table.SetSearchCheck(nullptr);
        // The progress never goes past the content.
        EXPECT_LE(lastReached, length) << Where();
        std::ostringstream what;
        what << Where() << " find " << (down ? "down" : "up") << " case " << matchCase << " start "
             << start << " limit " << limit << " length " << pattern.size();
        if (cancelAfter >= 0 && checks > cancelAfter) {
            EXPECT_EQ(result, -1) << what.str(); // cancelled before it ended
        } else {
            EXPECT_EQ(result, expected) << what.str();
        }
        if (result >= 0 && !pattern.empty() && !m_bTable)
            m_pos = result;
        EXPECT_EQ(m_file.GetPosition(), FacePosition()) << what.str();
    }

    void Flush() {
        const std::int64_t length = m_model.Length();
        const std::uint64_t inode = InodeOf(m_path);
        ASSERT_NE(inode, 0u);
        bool inPlace = length == static_cast<std::int64_t>(std::filesystem::file_size(m_path));
        for (int i = 0; i < m_file.GetPieceCount(); ++i) {
            const CPieceInfo piece = m_file.GetPieceInfo(i);
            inPlace = inPlace && (!piece.m_bFromFile || piece.m_nStart == piece.m_nFileOffset);
        }
        if (!inPlace && length > kRewriteLimit) {
            const int pieces = m_file.GetPieceCount();
            const CFileException e = CatchFileError([&] { Commit(); });
            EXPECT_EQ(e.m_cause, CFileException::diskFull) << Where();
            EXPECT_EQ(m_file.GetPieceCount(), pieces) << Where();
            EXPECT_EQ(InodeOf(m_path), inode) << Where();
            return;
        }
        Commit();
        if (!m_bTable)
            m_pos = 0;
        ++m_flushes;
        ASSERT_EQ(m_file.GetPieceCount(), 1) << Where();
        if (!m_bTable) {
            EXPECT_EQ(m_file.GetPosition(), 0) << Where();
        }
        EXPECT_EQ(InodeOf(m_path) == inode, inPlace) << Where() << " in place " << inPlace;
        for (const std::string& name : TempDirNames())
            EXPECT_FALSE(IsTempName(name)) << Where() << " left " << name;
        if (Model::kHuge) {
            for (int i = 0; i < 16; ++i) {
                const std::int64_t at = PickOffset();
                ASSERT_EQ(ReadFileAt(m_path, at, 64), m_model.Read(at, 64))
                    << Where() << " @" << at;
            }
        } else {
            ASSERT_EQ(ReadFile(m_path), m_model.Read(0, length)) << Where();
        }
    }

    void Commit() {
        if (m_bTable)
            m_table.Commit();
        else
            m_file.Flush();
    }

    std::vector<std::string> TempDirNames() const {
        std::vector<std::string> names;
        const auto folder = std::filesystem::path(m_path).parent_path();
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        return names;
    }

    void CompareWindow(std::int64_t at, std::int64_t count) {
        Bytes got(static_cast<size_t>(count));
        if (m_bTable) {
            got.resize(static_cast<size_t>(m_table.ReadAt(at, got.data(), count)));
        } else {
            m_file.Seek(at, CFile64::begin);
            got.resize(m_file.Read(got.data(), static_cast<std::uint32_t>(count)));
        }
        ASSERT_EQ(got, m_model.Read(at, count)) << Where() << " window at " << at;
    }

    void Check() {
        ASSERT_EQ(m_file.GetLength(), m_model.Length()) << Where();
        // Nothing the table did may have moved the face.
        ASSERT_EQ(m_file.GetPosition(), FacePosition()) << Where();
        ASSERT_EQ(m_file.CheckInvariants(), "") << Where();
        const std::int64_t length = m_model.Length();
        CompareWindow(std::max<std::int64_t>(0, m_pos - 48), 96);
        CompareWindow(PickOffset(), 64);
        if (m_step % m_options.fullCheckEvery == 0)
            CheckAll();
        if (!m_bTable)
            m_file.Seek(m_pos, CFile64::begin);
        (void)length;
    }

    void CheckAll() {
        if (Model::kHuge) {
            for (int i = 0; i < 32; ++i)
                CompareWindow(PickOffset(), 256);
        } else {
            CompareWindow(0, m_model.Length());
        }
        if (!m_bTable)
            m_file.Seek(m_pos, CFile64::begin);
    }

    CPieceFile64& m_file;
    CPieceTable& m_table;
    Model& m_model;
    std::string m_path;
    std::mt19937_64 m_rng;
    Options m_options;
    std::int64_t m_pos = 0;
    int m_step = 0;
    int m_flushes = 0;
    bool m_bTable = false;
};

// Initial content: random bytes with runs of letters mixed in.
Bytes MixedContent(std::uint64_t seed, size_t count) {
    Bytes bytes = RandomBytes(seed, count);
    for (size_t i = 0; i + 16 < count; i += 97)
        for (size_t k = 0; k < 8; ++k)
            bytes[i + k] = static_cast<std::uint8_t>("aBAbBaab"[k] ^ (bytes[i + 8] & 0x20));
    return bytes;
}

void RunVectorSequence(std::uint64_t seed, size_t size, int steps, const Options& options,
                       Through through) {
    SCOPED_TRACE("seed " + std::to_string(seed) + ", initial size " + std::to_string(size));
    TempDir dir;
    const std::string path = dir.File("model.bin");
    const Bytes initial = MixedContent(seed, size);
    WriteFile(path, initial);
    CPieceFile64 file;
    ASSERT_TRUE(file.Open(path.c_str(), kReadWrite));
    VectorModel model(initial);
    Driver<VectorModel>(file, model, path, seed, options, through).Run(steps);
}

int Steps(int count) {
    return std::max(1, count / kOpScale);
}

} // namespace

class PieceFileModel : public ::testing::TestWithParam<Through> {};

INSTANTIATE_TEST_SUITE_P(, PieceFileModel, ::testing::Values(Through::kFace, Through::kTable),
                         ThroughName);

TEST_P(PieceFileModel, SmallFiles) {
    for (std::uint64_t seed = 1; seed <= 30; ++seed)
        RunVectorSequence(seed, seed * 997 % 30000, Steps(16000), Options(), GetParam());
}

TEST_P(PieceFileModel, SmallFilesWithLongRuns) {
    Options options;
    options.maxInsert = 4096;
    options.maxDelete = 6000;
    options.maxWrite = 9000;
    for (std::uint64_t seed = 101; seed <= 120; ++seed)
        RunVectorSequence(seed, seed * 7919 % 70000, Steps(16000), options, GetParam());
}

TEST_P(PieceFileModel, FromEmptyFiles) {
    for (std::uint64_t seed = 201; seed <= 220; ++seed)
        RunVectorSequence(seed, 0, Steps(12000), Options(), GetParam());
}

TEST_P(PieceFileModel, TenMegabyteFile) {
    Options options;
    options.findEvery = 100;
    options.flushEvery = 400;
    options.fullCheckEvery = 1000;
    options.hotSpots = {65535, 65536, 131072 - 4};
    for (std::uint64_t seed = 301; seed <= 302; ++seed)
        RunVectorSequence(seed, 10 * 1024 * 1024, Steps(2500), options, GetParam());
}

TEST_P(PieceFileModel, SparseFileBeyondFourGiB) {
    for (std::uint64_t seed = 401; seed <= 404; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        TempDir dir;
        const std::string path = dir.File("sparse.bin");
        constexpr std::int64_t kFourGiB = std::int64_t{1} << 32;
        const std::int64_t length = kFourGiB + 54321 + static_cast<std::int64_t>(seed);
        const std::vector<std::pair<std::int64_t, Bytes>> islands = {
            {0, MixedContent(seed, 300)},
            {kFourGiB - 150, MixedContent(seed + 1, 300)},
            {length - 200, MixedContent(seed + 2, 200)}};
        MakeSparseFile(path, length, islands);
        CPieceFile64 file;
        ASSERT_TRUE(file.Open(path.c_str(), kReadWrite));
        RunModel model(length, islands);
        Options options;
        options.flushEvery = 300;
        options.hotSpots = {
            0, kFourGiB - 2, kFourGiB, kFourGiB + 3, std::int64_t{1} << 31, length - 100};
        Driver<RunModel>(file, model, path, seed, options, GetParam()).Run(Steps(6000));
    }
}
