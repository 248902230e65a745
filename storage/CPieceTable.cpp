#include "storage/CPieceTable.h"

#include "storage/CPieceHistory.h"
#include "storage/PieceListCheck.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

namespace {
// Overwriting inside a file piece copies at least this much into memory, so a
// run of typed bytes fills one memory piece instead of adding pieces per byte.
constexpr std::int64_t kOverwriteChunk = 4096;
} // namespace

CPieceTable::CPieceTable() {
    m_list.Reset(MakeMemoryPiece(0));
}

// The pieces and the history hold the file's versions; the handle closes with
// the last of them.
CPieceTable::~CPieceTable() = default;

void CPieceTable::ReleaseSource() {
    if (m_history)
        ClearHistory();
    m_list.Reset(MakeMemoryPiece(0));
    m_list.m_nLength = 0;
    m_source.reset();
    m_hSourceFile = platform::kNoFile;
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
    m_list.Reset(MakeFilePiece(length, 0, source));
    m_source = std::move(source);
    m_hSourceFile = handle;
    m_list.m_nLength = length;
    m_bReadOnly = (flags & (platform::accessMask | platform::modeCreate)) == 0;
    if (m_history)
        ClearHistory();
    m_nBaseState = ++m_nLastId;
    m_nSavedState = m_nBaseState;
    return true;
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
    while (total < count && pos < m_list.m_nLength) {
        const size_t index = m_list.PieceAt(pos);
        const CPiece& piece = *m_list.m_pieces[index];
        const std::int64_t rel = pos - m_list.m_starts[index];
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
    // One step for the three edits, or undo would show the zeros on the way.
    BeginStep();
    struct EndStepAtExit {
        CPieceTable* table;
        ~EndStepAtExit() { table->EndStep(); }
    } endStep{this};
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
    const EditCheck check(m_list);
    if (count <= 0)
        return;
    if (m_bReadOnly)
        Raise(CFileException::accessDenied);
    if (pos < 0)
        Raise(CFileException::badSeek);
    const auto* in = static_cast<const std::uint8_t*>(buffer);
    std::int64_t remaining = count;
    if (pos >= m_list.m_nLength)
        Raise(CFileException::endOfFile); // overwriting never lengthens the content
    const CEditScope edit(*this);
    CPieceChange& change = *m_pEdit;
    const std::int64_t first = pos;
    struct NoteAtExit { // what was written before an error is a change too
        CPieceChange& change;
        std::int64_t first;
        const std::int64_t& pos;
        ~NoteAtExit() { change.NoteContent({first, pos - first, pos - first}); }
    } note{change, first, pos};
    while (remaining > 0) {
        if (pos >= m_list.m_nLength)
            Raise(CFileException::endOfFile); // overwriting never lengthens the content
        const size_t index = m_list.PieceAt(pos);
        CPiece& piece = *m_list.m_pieces[index];
        const std::int64_t rel = pos - m_list.m_starts[index];
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
            change.SplitPiece(m_list, index, rel, std::move(copy), pos, std::move(tail), pos + n);
            continue;
        }
        const std::int64_t n = std::min(remaining, avail);
        change.Write(m_list, index, rel, in, n);
        in += n;
        remaining -= n;
        pos += n;
    }
}

CContentChange CPieceTable::Insert(std::int64_t offset, std::uint32_t count, int value) {
    const EditCheck check(m_list);
    if (count == 0)
        return {offset, 0, 0};
    if (m_bReadOnly)
        Raise(CFileException::accessDenied);
    if (offset < 0 || offset > m_list.m_nLength)
        Raise(CFileException::badSeek);
    const auto byte = static_cast<std::uint8_t>(value & 0xFF);
    const CEditScope edit(*this);
    CPieceChange& change = *m_pEdit;
    // The first piece that holds the position or ends at it takes the bytes, so
    // an insertion at a boundary goes to the end of the earlier piece.
    size_t index = m_list.PieceAt(offset);
    if (index > 0 && m_list.m_starts[index] == offset)
        --index;
    CPiece& piece = *m_list.m_pieces[index];
    const std::int64_t rel = offset - m_list.m_starts[index];
    const std::int64_t avail = piece.m_nLength - rel;
    if (piece.m_bFromFile) {
        auto added = MakeMemoryPiece(count);
        std::memset(added->m_data.data(), byte, count);
        PiecePtr tail;
        if (avail > 0)
            tail = MakeFilePiece(avail, piece.m_nFileOffset + rel, piece.m_source);
        const size_t middle = change.SplitPiece(m_list, index, rel, std::move(added), offset,
                                                std::move(tail), offset);
        m_list.ShiftStarts(middle + 1, count); // the tail and everything after it
    } else {
        change.InsertBytes(m_list, index, rel, count, byte);
        m_list.ShiftStarts(index + 1, count);
    }
    m_list.m_nLength += count;
    const CContentChange made{offset, 0, count};
    change.NoteContent(made);
    return made;
}

CContentChange CPieceTable::Remove(std::int64_t offset, std::int64_t count) {
    const EditCheck check(m_list);
    if (m_bReadOnly)
        Raise(CFileException::accessDenied); // tested before the count
    if (offset < 0)
        Raise(CFileException::badSeek);
    const std::int64_t rem = std::min(count, m_list.m_nLength - offset);
    if (rem <= 0)
        return {offset, 0, 0};
    const CEditScope edit(*this);
    CPieceChange& change = *m_pEdit;
    // Memory running out part-way puts the list back as it was; without history
    // nothing below allocates once the list changes.
    const size_t mark = change.Mark();
    try {
        RemoveRange(change, offset, rem);
    } catch (const std::bad_alloc&) {
        change.RevertSince(m_list, mark);
        throw;
    }
    const CContentChange made{offset, rem, 0};
    change.NoteContent(made);
    return made;
}

void CPieceTable::RemoveRange(CPieceChange& change, std::int64_t offset, std::int64_t rem) {
    const std::int64_t endPos = offset + rem;
    const size_t first = m_list.PieceAt(offset);
    const size_t last = m_list.PieceAt(endPos - 1);
    const std::int64_t headKeep = offset - m_list.m_starts[first];
    const bool headFromFile = m_list.m_pieces[first]->m_bFromFile;
    if (first == last) {
        if (headFromFile) {
            const CPiece& head = *m_list.m_pieces[first];
            const std::int64_t tail = head.m_nLength - headKeep - rem;
            if (headKeep == 0 && tail > 0) {
                // Cut from the front: the piece itself becomes the tail.
                CPiece& cut = change.Modifiable(m_list, first);
                cut.m_nFileOffset += rem;
                cut.m_nLength = tail;
            } else if (tail > 0) {
                change.InsertPiece(
                    m_list, first + 1,
                    MakeFilePiece(tail, head.m_nFileOffset + headKeep + rem, head.m_source),
                    endPos);
                change.Modifiable(m_list, first).m_nLength = headKeep;
            } else {
                change.Modifiable(m_list, first).m_nLength = headKeep;
            }
        } else {
            change.EraseBytes(m_list, first, headKeep, rem);
        }
    } else {
        const std::int64_t cut = endPos - m_list.m_starts[last]; // bytes gone from its front
        if (m_list.m_pieces[last]->m_bFromFile) {
            CPiece& tail = change.Modifiable(m_list, last);
            tail.m_nFileOffset += cut;
            tail.m_nLength -= cut;
        } else {
            change.EraseBytes(m_list, last, 0, cut);
        }
        m_list.m_starts[last] = endPos;
        if (headFromFile)
            change.Modifiable(m_list, first).m_nLength = headKeep;
        else
            change.EraseBytes(m_list, first, headKeep,
                              m_list.m_pieces[first]->m_nLength - headKeep);
        change.RemovePieces(m_list, first + 1, last - first - 1);
    }
    m_list.ShiftStarts(first + 1, -rem);
    m_list.m_nLength -= rem;
    // The emptied head goes first, then an emptied follower, as a walk would.
    const size_t follower = change.DropIfEmpty(m_list, first) ? first : first + 1;
    if (follower < m_list.m_pieces.size())
        change.DropIfEmpty(m_list, follower);
}
