// The piece table driven by the input, side by side with a plain vector of
// bytes: overwrite, insert, delete, seek, read, find and save, with saves
// failing part-way and the file shortened, replaced or removed underneath.
// After every step the content must match the model; after a failed save the
// edits must all still be there, and after a good one the file must hold them.
#include "FuzzCheck.h"
#include "platform/FaultInjection.h"
#include "storage/CPieceFile64.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr unsigned kReadWrite = CFile64::modeReadWrite | CFile64::shareDenyWrite;

// One scratch folder for the whole run, removed when the run ends.
class ScratchFolder {
public:
    ScratchFolder() {
        m_path = "/tmp/quexo-fuzz-XXXXXX";
        if (!::mkdtemp(m_path.data()))
            std::abort();
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string m_path;
};

const std::string& Folder() {
    static const ScratchFolder folder;
    return folder.m_path;
}

void WriteWhole(const std::string& path, const Bytes& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

Bytes ReadWhole(const std::string& path) {
    Bytes bytes;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return bytes;
    std::uint8_t buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;)
        bytes.insert(bytes.end(), buffer, buffer + n);
    ::close(fd);
    return bytes;
}

// Fails the n-th file operation of a save, as a full disk or a bad sector would.
class SaveFault : public platform::FaultInjector {
public:
    SaveFault(int failAt, int error, bool shortWrite)
        : m_failAt(failAt), m_error(error), m_shortWrite(shortWrite) {
        m_previous = platform::SetFaultInjector(this);
    }
    ~SaveFault() override { platform::SetFaultInjector(m_previous); }
    int Before(platform::FileOp op, const std::string&, std::int64_t* count) override {
        if (++m_seen != m_failAt)
            return 0;
        if (m_shortWrite && (op == platform::FileOp::Write || op == platform::FileOp::Copy)) {
            *count /= 2;
            return 0;
        }
        return m_error;
    }

private:
    int m_failAt;
    int m_error;
    bool m_shortWrite;
    int m_seen = 0;
    platform::FaultInjector* m_previous = nullptr;
};

std::int64_t NaiveFind(const Bytes& content, const std::string& pattern, bool matchCase, bool down,
                       std::int64_t start, std::int64_t limit) {
    const auto fold = [](std::uint8_t b) { return b >= 'A' && b <= 'Z' ? b + 32 : b; };
    const auto matches = [&](std::int64_t at) {
        for (std::size_t k = 0; k < pattern.size(); ++k) {
            const auto c = content[static_cast<std::size_t>(at) + k];
            const auto p = static_cast<std::uint8_t>(pattern[k]);
            if (matchCase ? c != p : fold(c) != fold(p))
                return false;
        }
        return true;
    };
    const auto len = static_cast<std::int64_t>(pattern.size());
    const auto end = static_cast<std::int64_t>(content.size());
    if (down) {
        if (start < 0 || start > end)
            return -1;
        const std::int64_t effectiveLimit = limit == -1 ? INT64_MAX : limit;
        for (std::int64_t s = start; s + len <= end; ++s)
            if (matches(s))
                return s + len <= effectiveLimit ? s : -1;
        return -1;
    }
    for (std::int64_t s = std::min(std::min(start, end) - 1, end - len); s >= 0; --s)
        if (matches(s))
            return s + len - 1;
    return -1;
}

// Each input drives the stream face (position, Seek, Write, Insert at the
// position...) and then, from the start again, the table itself at the
// run's own offset, which must never move the face.
enum class Through { kFace, kTable };

class Run {
public:
    Run(FuzzedDataProvider& input, Through through)
        : m_input(input), m_bTable(through == Through::kTable) {
        m_path = Folder() + "/doc.bin";
        m_model = m_input.ConsumeBytes<std::uint8_t>(m_input.ConsumeIntegralInRange(0, 300));
        WriteWhole(m_path, m_model);
        FUZZ_CHECK(m_file.Open(m_path.c_str(), kReadWrite));
    }

    void Go() {
        for (int step = 0; step < 200 && m_input.remaining_bytes() > 0; ++step) {
            Step();
            Check();
        }
    }

private:
    std::int64_t Length() const { return static_cast<std::int64_t>(m_model.size()); }
    std::int64_t Offset() { return m_input.ConsumeIntegralInRange<std::int64_t>(0, Length()); }
    CPieceTable& Table() { return m_file.Table(); }
    // Where the face's position must be: the table never moves it.
    std::int64_t FacePosition() const { return m_bTable ? 0 : m_pos; }

    void Step() {
        switch (m_input.ConsumeIntegralInRange(0, 9)) {
        case 0: { // seek, in range or not
            const std::int64_t target =
                m_input.ConsumeIntegralInRange<std::int64_t>(-2, Length() + 2);
            if (m_bTable) { // the run's own offset; the table has none
                if (target >= 0 && target <= Length())
                    m_pos = target;
            } else if (target < 0 || target > Length()) {
                try {
                    m_file.Seek(target, CFile64::begin);
                    FUZZ_CHECK(false);
                } catch (const CFileException& e) {
                    FUZZ_CHECK(e.m_cause == CFileException::badSeek);
                }
            } else {
                FUZZ_CHECK(m_file.Seek(target, CFile64::begin) == target);
                m_pos = target;
            }
            break;
        }
        case 1: { // overwrite from the position; past the end it writes what fits and raises
            const Bytes data =
                m_input.ConsumeBytes<std::uint8_t>(m_input.ConsumeIntegralInRange(0, 40));
            const std::int64_t fits = std::min<std::int64_t>(Length() - m_pos, data.size());
            std::int64_t written = -1;
            // The table tells what it wrote, also when it stopped part-way.
            struct Advance {
                Run& run;
                const std::int64_t& written;
                ~Advance() {
                    if (run.m_bTable && !run.m_sure)
                        run.m_pos += written;
                }
            } advance{*this, written};
            try {
                if (m_bTable)
                    Table().Overwrite(m_pos, data.data(), static_cast<std::int64_t>(data.size()),
                                      &written);
                else
                    m_file.Write(data.data(), static_cast<std::uint32_t>(data.size()));
                FUZZ_CHECK(fits == static_cast<std::int64_t>(data.size()) || !m_sure);
            } catch (const CFileException& e) {
                FUZZ_CHECK(e.m_cause == CFileException::endOfFile);
                if (fits == static_cast<std::int64_t>(data.size())) {
                    FUZZ_CHECK(!m_sure); // only a file shrunk under us lacks the bytes
                    return;
                }
            }
            if (m_bTable && m_sure)
                FUZZ_CHECK(written == fits);
            if (m_bTable && !m_sure) { // the model is unsure; the offset follows the table
                std::copy(data.begin(), data.begin() + written, m_model.begin() + m_pos);
                return;
            }
            std::copy(data.begin(), data.begin() + fits, m_model.begin() + m_pos);
            m_pos += fits;
            break;
        }
        case 2: { // positional overwrite within the content
            const std::int64_t at = Offset();
            const Bytes data = m_input.ConsumeBytes<std::uint8_t>(
                std::min<std::int64_t>(m_input.ConsumeIntegralInRange(0, 40), Length() - at));
            try {
                m_file.WriteAt(at, data.data(), static_cast<std::int64_t>(data.size()));
            } catch (const CFileException& e) {
                FUZZ_CHECK(!m_sure && e.m_cause == CFileException::endOfFile);
                return;
            }
            std::copy(data.begin(), data.end(), m_model.begin() + at);
            break;
        }
        case 3: { // insert at the position
            const auto count = m_input.ConsumeIntegralInRange<std::uint32_t>(0, 100);
            const auto value = m_input.ConsumeIntegral<std::uint8_t>();
            if (m_bTable)
                FUZZ_CHECK(Table().Insert(m_pos, count, value) ==
                           (CContentChange{m_pos, 0, count}));
            else
                m_file.Insert(count, value);
            m_model.insert(m_model.begin() + m_pos, count, value);
            break;
        }
        case 4: { // delete from the position
            std::int64_t count = m_input.ConsumeIntegralInRange<std::int64_t>(0, 120);
            if (count == 120)
                count = INT64_MAX;
            const std::int64_t removed = std::min(count, Length() - m_pos);
            if (m_bTable)
                FUZZ_CHECK(Table().Remove(m_pos, count) == (CContentChange{m_pos, removed, 0}));
            else
                m_file.Delete(count);
            m_model.erase(m_model.begin() + m_pos, m_model.begin() + m_pos + removed);
            break;
        }
        case 5:
            return Find();
        case 6:
            return Save();
        case 7:
            return ChangeUnderneath();
        default: { // read at any offset, positionally or not
            const std::int64_t at = Offset();
            const auto count = m_input.ConsumeIntegralInRange<std::int64_t>(0, 600);
            Bytes got(static_cast<std::size_t>(count));
            got.resize(static_cast<std::size_t>(m_file.ReadAt(at, got.data(), count)));
            if (m_sure)
                FUZZ_CHECK(got == Bytes(m_model.begin() + at,
                                        m_model.begin() + std::min(at + count, Length())));
            FUZZ_CHECK(m_file.GetPosition() == FacePosition());
            break;
        }
        }
    }

    void Find() {
        const bool matchCase = m_input.ConsumeBool();
        const bool down = m_input.ConsumeBool();
        const std::string pattern = m_input.ConsumeRandomLengthString(6);
        const std::int64_t start = m_input.ConsumeIntegralInRange<std::int64_t>(-2, Length() + 2);
        const std::int64_t limit =
            m_input.ConsumeBool() ? -1
                                  : m_input.ConsumeIntegralInRange<std::int64_t>(0, Length() + 2);
        std::int64_t result = -1;
        try {
            result = m_bTable ? Table().Find(pattern, matchCase, down, start, limit)
                              : m_file.Find(pattern, matchCase, down, start, limit);
        } catch (const CFileException&) {
            FUZZ_CHECK(!m_sure); // only a file shrunk under us may fail a read
            return;
        }
        if (m_sure && !pattern.empty())
            FUZZ_CHECK(result == NaiveFind(m_model, pattern, matchCase, down, start, limit));
        if (!m_bTable)
            m_pos = result >= 0 && !pattern.empty() ? result : m_pos;
    }

    void Save() {
        const bool fault = m_input.ConsumeBool();
        const int failAt = m_input.ConsumeIntegralInRange(1, 12);
        const int error = m_input.ConsumeBool() ? ENOSPC : EIO;
        const bool shortWrite = m_input.ConsumeBool();
        try {
            const auto commit = [this] {
                if (m_bTable)
                    Table().Commit();
                else
                    m_file.Flush();
            };
            if (fault) {
                SaveFault faults(failAt, error, shortWrite);
                commit();
            } else {
                commit();
            }
        } catch (const CFileException&) {
            // Whatever failed, every edit is still there to save again.
            if (!m_bTable)
                m_pos = m_file.GetPosition();
            return;
        }
        if (m_sure)
            FUZZ_CHECK(ReadWhole(m_path) == m_model);
        else
            m_model = ReadWhole(m_path); // what was saved is the content from now on
        m_sure = true;
        if (!m_bTable)
            m_pos = 0;
        FUZZ_CHECK(m_file.GetPosition() == 0 && m_file.GetPieceCount() == 1);
    }

    void ChangeUnderneath() {
        switch (m_input.ConsumeIntegralInRange(0, 2)) {
        case 0: // another program shortens the file in place
            if (::truncate(m_path.c_str(), m_input.ConsumeIntegralInRange<off_t>(0, 50)) == 0)
                Unsure();
            break;
        case 1: { // another program saves its own version under the name
            const std::string other = Folder() + "/other.bin";
            WriteWhole(other, m_input.ConsumeBytes<std::uint8_t>(30));
            FUZZ_CHECK(::rename(other.c_str(), m_path.c_str()) == 0);
            break;
        }
        default:
            ::unlink(m_path.c_str());
            break;
        }
    }

    // The file under a file piece lost bytes: reads may now stop short, and
    // only a save (which fails or writes what it read) settles the content.
    void Unsure() { m_sure = false; }

    void Check() {
        FUZZ_CHECK(m_file.CheckInvariants().empty());
        FUZZ_CHECK(m_file.GetLength() == Length()); // lengths never depend on the disk
        if (!m_sure && !m_bTable) // a write that ran out of file bytes stopped somewhere
            m_pos = m_file.GetPosition();
        FUZZ_CHECK(m_file.GetPosition() == FacePosition());
        FUZZ_CHECK(m_pos >= 0 && m_pos <= Length());
    }

    FuzzedDataProvider& m_input;
    std::string m_path;
    Bytes m_model;
    std::int64_t m_pos = 0;
    bool m_sure = true;
    bool m_bTable = false;
    CPieceFile64 m_file;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    for (const Through through : {Through::kFace, Through::kTable}) {
        FuzzedDataProvider input(data, size);
        Run(input, through).Go();
    }
    return 0;
}
