#include "storage/CPieceTable.h"

#include "storage/CPieceHistory.h"
#include "storage/PieceListCheck.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {
// Overwriting inside a file piece copies at least this much into memory, so a
// run of typed bytes fills one memory piece instead of adding pieces per byte.
constexpr std::int64_t kOverwriteChunk = 4096;
// A removal of more than one piece keeps their starts, so undo puts them back
// without a pass over them.
constexpr size_t kManyPieces = 2;

std::unique_ptr<CPiece> MakeFilePiece(std::int64_t length, std::int64_t fileOffset,
                                      const std::shared_ptr<CSourceFile>& source) {
    auto piece = std::make_unique<CPiece>();
    piece->m_nLength = length;
    piece->m_bFromFile = true;
    piece->m_nFileOffset = fileOffset;
    piece->m_source = source;
    return piece;
}

std::unique_ptr<CPiece> MakeMemoryPiece(std::int64_t length) {
    auto piece = std::make_unique<CPiece>();
    piece->m_nLength = length;
    piece->m_data.resize(static_cast<size_t>(length));
    return piece;
}
} // namespace

CPieceTable::CPieceTable() {
    ResetToOnePiece(MakeMemoryPiece(0));
}

CPieceTable::~CPieceTable() {
    // The pieces and the history hold the file's versions; the handle closes
    // with the last of them.
    for (CPiece* piece : m_pieces)
        delete piece;
}

void CPieceTable::ReleaseSource() {
    if (m_history)
        ClearHistory();
    ResetToOnePiece(MakeMemoryPiece(0));
    m_nTotalLength = 0;
    m_source.reset();
    m_hSourceFile = platform::kNoFile;
}

void CPieceTable::ResetToOnePiece(PiecePtr piece) {
    m_pieces.reserve(1); // the one step that may fail, before anything goes
    m_pieceStarts.reserve(1);
    for (CPiece* old : m_pieces)
        delete old;
    m_pieces.clear();
    m_pieceStarts.clear();
    m_pieces.push_back(piece.release());
    m_pieceStarts.push_back(0);
}

void CPieceTable::Raise(int cause) const {
    throw CFileException(cause, -1, m_strSourcePath);
}

void CPieceTable::RaiseOs(int osError) const {
    throw CFileException(CFileException::OsErrorToCause(osError), osError, m_strSourcePath);
}

bool CPieceTable::Open(const char* fileName, unsigned flags, CFileException* error) {
    const std::string name = fileName ? fileName : ""; // the caller may pass m_strSourcePath
    if (m_hSourceFile != platform::kNoFile)
        ReleaseSource(); // nothing may keep the old handle, and with it its lock
    m_strSourcePath.clear();
    m_strSavePath.clear();
    if (!platform::FullPath(name, &m_strSourcePath))
        m_strSourcePath = name;
    flags &= ~unsigned(platform::typeBit);

    platform::FileHandle handle = platform::kNoFile;
    std::int64_t length = 0;
    int err = name.empty() ? ENOENT : platform::OpenFile(name, flags, &handle);
    if (err == 0) {
        err = platform::GetFileLength(handle, &length);
        if (err != 0)
            platform::CloseFile(handle);
    }
    if (err != 0) {
        if (error)
            error->SetFromOsError(err, name);
        return false;
    }
    // "link/.." folded by name is not where the system went; saves must write
    // the file that was opened.
    std::string resolved;
    if (!platform::IsFileNamed(handle, m_strSourcePath) && platform::ResolveLinks(name, &resolved))
        m_strSourcePath = resolved;
    if (!platform::ResolveLinks(m_strSourcePath, &m_strSavePath))
        m_strSavePath = m_strSourcePath;
    auto source = CSourceFile::Adopt(handle);
    ResetToOnePiece(MakeFilePiece(length, 0, source));
    m_source = std::move(source);
    m_hSourceFile = handle;
    m_nTotalLength = length;
    m_bReadOnly = (flags & (platform::accessMask | platform::modeCreate)) == 0;
    if (m_history)
        ClearHistory();
    m_nBaseState = ++m_nLastId;
    m_nSavedState = m_nBaseState;
    return true;
}

size_t CPieceTable::PieceAt(std::int64_t pos) const {
    // The last piece whose start is at or before pos. Pieces are never empty
    // unless the list holds that one piece only, so starts are strictly rising.
    const auto it = std::upper_bound(m_pieceStarts.begin(), m_pieceStarts.end(), pos);
    return it == m_pieceStarts.begin() ? 0 : static_cast<size_t>(it - m_pieceStarts.begin() - 1);
}

void CPieceTable::InsertPiece(size_t index, PiecePtr piece, std::int64_t start) {
    CHistoryEntry* entry = Recording() ? &Record(CHistoryEntry::kReplacePieces, index) : nullptr;
    m_pieceStarts.insert(m_pieceStarts.begin() + static_cast<std::ptrdiff_t>(index), start);
    try {
        m_pieces.insert(m_pieces.begin() + static_cast<std::ptrdiff_t>(index), piece.get());
    } catch (...) {
        m_pieceStarts.erase(m_pieceStarts.begin() + static_cast<std::ptrdiff_t>(index));
        throw;
    }
    piece.release();
    if (entry)
        entry->m_count = 1;
}

size_t CPieceTable::SplitPiece(size_t index, std::int64_t keep, PiecePtr middle,
                               std::int64_t middleStart, PiecePtr tail, std::int64_t tailStart) {
    // Room first, so nothing below can fail half-way; grown by doubling, as
    // reserving only what is needed would copy the arrays on every split.
    if (m_pieces.capacity() < m_pieces.size() + 2) {
        m_pieces.reserve(2 * m_pieces.size() + 2);
        m_pieceStarts.reserve(2 * m_pieces.size() + 2);
    }
    CHistoryEntry* entry = nullptr;
    if (Recording()) { // the cut piece goes into the history, a copy stays
        entry = &Record(CHistoryEntry::kReplacePieces, index);
        entry->m_other.m_pieces.reserve(1);
        if (keep > 0) {
            auto copy = std::make_unique<CPiece>(*m_pieces[index]);
            entry->m_other.m_pieces.push_back(m_pieces[index]);
            m_pieces[index] = copy.release();
        }
    }
    CPiece* added[2];
    std::int64_t addedStarts[2];
    size_t count = 0;
    size_t middleIndex = index;
    if (keep > 0) {
        m_pieces[index]->m_nLength = keep;
        added[count] = middle.release();
        addedStarts[count++] = middleStart;
        middleIndex = index + 1;
    } else { // the emptied piece goes: the middle takes its place
        if (entry)
            entry->m_other.m_pieces.push_back(m_pieces[index]);
        else
            delete m_pieces[index];
        m_pieces[index] = middle.release();
        m_pieceStarts[index] = middleStart;
    }
    if (tail) {
        added[count] = tail.release();
        addedStarts[count++] = tailStart;
    }
    const auto at = static_cast<std::ptrdiff_t>(index + 1);
    m_pieceStarts.insert(m_pieceStarts.begin() + at, addedStarts, addedStarts + count);
    m_pieces.insert(m_pieces.begin() + at, added, added + count);
    if (entry)
        entry->m_count = static_cast<std::int64_t>(count) + 1; // the piece at index, then the added
    return middleIndex;
}

void CPieceTable::RemovePiece(size_t index) {
    RemovePieces(index, 1);
}

void CPieceTable::RemovePieces(size_t index, size_t count) {
    if (count == 0)
        return;
    const auto from = m_pieces.begin() + static_cast<std::ptrdiff_t>(index);
    const auto to = from + static_cast<std::ptrdiff_t>(count);
    if (Recording()) {
        CHistoryEntry& entry = Record(CHistoryEntry::kReplacePieces, index);
        entry.m_other.m_pieces.assign(from, to);
        if (count >= kManyPieces) {
            const auto starts = m_pieceStarts.begin() + static_cast<std::ptrdiff_t>(index);
            entry.m_removedStarts.assign(starts, starts + static_cast<std::ptrdiff_t>(count));
            for (std::int64_t& start : entry.m_removedStarts)
                start -= m_pieceStarts[index];
        }
    } else {
        for (auto it = from; it != to; ++it)
            delete *it;
    }
    m_pieces.erase(from, to);
    const auto starts = m_pieceStarts.begin() + static_cast<std::ptrdiff_t>(index);
    m_pieceStarts.erase(starts, starts + static_cast<std::ptrdiff_t>(count));
}

bool CPieceTable::DropIfEmpty(size_t index) {
    if (m_pieces[index]->m_nLength != 0 || m_pieces.size() <= 1)
        return false;
    RemovePiece(index);
    return true;
}

void CPieceTable::ShiftStarts(size_t fromIndex, std::int64_t delta) {
    for (size_t i = fromIndex; i < m_pieceStarts.size(); ++i)
        m_pieceStarts[i] += delta;
}

void CPieceTable::ReadFromFile(const CSourceFile& source, std::int64_t fileOffset, void* buffer,
                               std::uint32_t count, std::uint32_t* got) const {
    if (const int err = source.ReadAt(fileOffset, buffer, count, got))
        RaiseOs(err);
}

std::int64_t CPieceTable::GetDiskLength() const {
    std::int64_t length = 0;
    platform::GetFileLength(m_hSourceFile, &length);
    return length;
}

std::int64_t CPieceTable::ReadAt(std::int64_t offset, void* buffer, std::int64_t count) const {
    if (offset < 0 || count < 0)
        Raise(CFileException::badSeek);
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::int64_t total = 0;
    std::int64_t pos = offset;
    while (total < count && pos < m_nTotalLength) {
        const size_t index = PieceAt(pos);
        const CPiece& piece = *m_pieces[index];
        const std::int64_t rel = pos - m_pieceStarts[index];
        const std::int64_t n = std::min(count - total, piece.m_nLength - rel);
        std::int64_t taken = n;
        if (piece.m_bFromFile) {
            // A file another program shortened delivers fewer bytes: stop there
            // rather than invent the rest.
            taken = ReadFileRange(*piece.m_source, piece.m_nFileOffset + rel, out + total, n);
        } else {
            std::memcpy(out + total, piece.m_data.data() + rel, static_cast<size_t>(n));
        }
        pos += taken;
        total += taken;
        if (taken < n)
            break;
    }
    return total;
}

std::int64_t CPieceTable::ReadFileRange(const CSourceFile& source, std::int64_t fileOffset,
                                        std::uint8_t* out, std::int64_t count) const {
    // The system call takes 32-bit counts; a larger range is read in steps.
    constexpr std::int64_t kStep = std::int64_t(1) << 30;
    std::int64_t total = 0;
    while (total < count) {
        const auto n = static_cast<std::uint32_t>(std::min(count - total, kStep));
        std::uint32_t got = 0;
        ReadFromFile(source, fileOffset + total, out + total, n, &got);
        total += got;
        if (got < n)
            break;
    }
    return total;
}

CContentChange CPieceTable::Overwrite(std::int64_t offset, const void* buffer, std::int64_t count,
                                      std::int64_t* written) {
    std::int64_t pos = offset;
    try {
        OverwriteFrom(pos, buffer, count);
    } catch (...) {
        if (written) // whatever was written before the error is a change too
            *written = pos - offset;
        throw;
    }
    if (written)
        *written = pos - offset;
    return {offset, pos - offset, pos - offset};
}

CContentChange CPieceTable::Replace(std::int64_t offset, std::int64_t removed, const void* buffer,
                                    std::int64_t count) {
    if (removed == count)
        return Overwrite(offset, buffer, count);
    // The inserted bytes are written over a run of zeros put in their place.
    if (count < 0 || count > std::numeric_limits<std::uint32_t>::max())
        throw CFileException(CFileException::genericException, -1, m_strSourcePath);
    CContentChange change = Remove(offset, removed);
    if (count > 0) {
        Insert(offset, static_cast<std::uint32_t>(count), 0);
        Overwrite(offset, buffer, count);
    }
    change.m_nOffset = offset;
    change.m_nInserted = count;
    return change;
}

void CPieceTable::OverwriteFrom(std::int64_t& pos, const void* buffer, std::int64_t count) {
    const EditCheck check(*this);
    if (count <= 0)
        return;
    if (m_bReadOnly)
        Raise(CFileException::accessDenied);
    if (pos < 0)
        Raise(CFileException::badSeek);
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    std::int64_t remaining = count;
    if (pos >= m_nTotalLength)
        Raise(CFileException::endOfFile); // overwriting never lengthens the content
    BeginEdit();
    struct EndEditAtExit {
        CPieceTable* file;
        ~EndEditAtExit() { file->EndEdit(); }
    } endEdit{this};
    const std::int64_t first = pos;
    struct RecordAtExit {
        CPieceTable* table;
        std::int64_t first;
        const std::int64_t& pos;
        ~RecordAtExit() { table->RecordChange({first, pos - first, pos - first}); }
    } record{this, first, pos};
    while (remaining > 0) {
        if (pos >= m_nTotalLength)
            Raise(CFileException::endOfFile); // overwriting never lengthens the content
        const size_t index = PieceAt(pos);
        CPiece& piece = *m_pieces[index];
        const std::int64_t rel = pos - m_pieceStarts[index];
        const std::int64_t avail = piece.m_nLength - rel;
        if (piece.m_bFromFile) {
            // Copy a chunk of the file into memory; the next turn writes into it.
            const std::int64_t chunk = std::max<std::int64_t>(remaining, kOverwriteChunk);
            const std::int64_t n = std::min(chunk, avail);
            auto copy = MakeMemoryPiece(n);
            if (ReadFileRange(*piece.m_source, piece.m_nFileOffset + rel, copy->m_data.data(), n) <
                n)
                Raise(CFileException::endOfFile); // the file shrank under us
            PiecePtr tail;
            if (n < avail)
                tail = MakeFilePiece(avail - n, piece.m_nFileOffset + rel + n, piece.m_source);
            SplitPiece(index, rel, std::move(copy), pos, std::move(tail), pos + n);
            continue;
        }
        const std::int64_t n = std::min(remaining, avail);
        if (Recording())
            RecordWrite(index, rel, n);
        std::memcpy(piece.m_data.data() + rel, in, static_cast<size_t>(n));
        in += n;
        remaining -= n;
        pos += n;
    }
}

CContentChange CPieceTable::Insert(std::int64_t offset, std::uint32_t count, int value) {
    const EditCheck check(*this);
    if (count == 0)
        return {offset, 0, 0};
    if (m_bReadOnly)
        Raise(CFileException::accessDenied);
    if (offset < 0 || offset > m_nTotalLength)
        Raise(CFileException::badSeek);
    const auto byte = static_cast<std::uint8_t>(value & 0xFF);
    BeginEdit();
    struct EndEditAtExit {
        CPieceTable* file;
        ~EndEditAtExit() { file->EndEdit(); }
    } endEdit{this};
    // The first piece that holds the position or ends at it takes the bytes, so
    // an insertion at a boundary goes to the end of the earlier piece.
    size_t index = PieceAt(offset);
    if (index > 0 && m_pieceStarts[index] == offset)
        --index;
    CPiece& piece = *m_pieces[index];
    const std::int64_t rel = offset - m_pieceStarts[index];
    const std::int64_t avail = piece.m_nLength - rel;
    if (piece.m_bFromFile) {
        auto added = MakeMemoryPiece(count);
        std::memset(added->m_data.data(), byte, count);
        PiecePtr tail;
        if (avail > 0)
            tail = MakeFilePiece(avail, piece.m_nFileOffset + rel, piece.m_source);
        const size_t middle =
            SplitPiece(index, rel, std::move(added), offset, std::move(tail), offset);
        ShiftStarts(middle + 1, count); // the tail and everything after it
    } else {
        InsertBytes(index, rel, count, byte);
        ShiftStarts(index + 1, count);
    }
    m_nTotalLength += count;
    const CContentChange change{offset, 0, count};
    RecordChange(change);
    return change;
}

CContentChange CPieceTable::Remove(std::int64_t offset, std::int64_t count) {
    const EditCheck check(*this);
    if (m_bReadOnly)
        Raise(CFileException::accessDenied); // tested before the count
    if (offset < 0)
        Raise(CFileException::badSeek);
    const std::int64_t rem = std::min(count, m_nTotalLength - offset);
    if (rem <= 0)
        return {offset, 0, 0};
    BeginEdit();
    struct EndEditAtExit {
        CPieceTable* file;
        ~EndEditAtExit() { file->EndEdit(); }
    } endEdit{this};
    const std::int64_t endPos = offset + rem;
    const size_t first = PieceAt(offset);
    const size_t last = PieceAt(endPos - 1);
    const std::int64_t headKeep = offset - m_pieceStarts[first];
    const bool headFromFile = m_pieces[first]->m_bFromFile;
    if (first == last) {
        if (headFromFile) {
            const CPiece& head = *m_pieces[first];
            const std::int64_t tail = head.m_nLength - headKeep - rem;
            if (headKeep == 0 && tail > 0) {
                // Cut from the front: the piece itself becomes the tail.
                CPiece& cut = Modifiable(first);
                cut.m_nFileOffset += rem;
                cut.m_nLength = tail;
            } else if (tail > 0) {
                InsertPiece(first + 1,
                            MakeFilePiece(tail, head.m_nFileOffset + headKeep + rem, head.m_source),
                            endPos);
                Modifiable(first).m_nLength = headKeep;
            } else {
                Modifiable(first).m_nLength = headKeep;
            }
        } else {
            EraseBytes(first, headKeep, rem);
        }
    } else {
        const std::int64_t cut = endPos - m_pieceStarts[last]; // bytes gone from its front
        if (m_pieces[last]->m_bFromFile) {
            CPiece& tail = Modifiable(last);
            tail.m_nFileOffset += cut;
            tail.m_nLength -= cut;
        } else {
            EraseBytes(last, 0, cut);
        }
        m_pieceStarts[last] = endPos;
        if (headFromFile)
            Modifiable(first).m_nLength = headKeep;
        else
            EraseBytes(first, headKeep, m_pieces[first]->m_nLength - headKeep);
        RemovePieces(first + 1, last - first - 1);
    }
    ShiftStarts(first + 1, -rem);
    m_nTotalLength -= rem;
    // The emptied head goes first, then an emptied follower, as a walk would.
    const size_t follower = DropIfEmpty(first) ? first : first + 1;
    if (follower < m_pieces.size())
        DropIfEmpty(follower);
    const CContentChange change{offset, rem, 0};
    RecordChange(change);
    return change;
}
