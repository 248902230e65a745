#include "storage/CPieceFile64.h"

bool CPieceFile64::Open(const char* fileName, unsigned flags, CFileException* error) {
    const bool hadFile = m_table.HasFile();
    const bool opened = m_table.Open(fileName, flags, error);
    if (opened || hadFile) // the old file is let go either way
        m_nPosition = 0;
    return opened;
}

std::int64_t CPieceFile64::Seek(std::int64_t offset, unsigned origin) {
    const std::int64_t length = m_table.GetLength();
    std::int64_t base = 0;
    switch (origin) {
    case begin:
        break;
    case current:
        base = GetPosition();
        break;
    case end:
        base = length;
        break;
    default:
        throw CFileException(CFileException::badSeek, -1, GetSourcePath());
    }
    // Both terms are within 0…length unless offset is huge; test without overflow.
    if (offset < -base || offset > length - base)
        throw CFileException(CFileException::badSeek, -1, GetSourcePath());
    m_nPosition = base + offset;
    return m_nPosition;
}

std::uint32_t CPieceFile64::Read(void* buffer, std::uint32_t count) {
    KeepPositionWithin();
    const auto got = static_cast<std::uint32_t>(m_table.ReadAt(m_nPosition, buffer, count));
    m_nPosition += got;
    return got;
}

void CPieceFile64::Write(const void* buffer, std::uint32_t count) {
    KeepPositionWithin();
    m_table.OverwriteFrom(m_nPosition, buffer, count);
}

CContentChange CPieceFile64::InsertAt(std::int64_t offset, std::uint32_t count, int value) {
    return m_table.Insert(offset, count, value);
}

CContentChange CPieceFile64::RemoveAt(std::int64_t offset, std::int64_t count) {
    const CContentChange change = m_table.Remove(offset, count);
    KeepPositionWithin();
    return change;
}

CContentChange CPieceFile64::ReplaceAt(std::int64_t offset, std::int64_t removed,
                                       const void* buffer, std::int64_t count) {
    struct Keep {
        CPieceFile64* file;
        ~Keep() { file->KeepPositionWithin(); } // also when the insertion fails
    } keep{this};
    return m_table.Replace(offset, removed, buffer, count);
}

void CPieceFile64::Insert(std::uint32_t count, int value) {
    KeepPositionWithin();
    m_table.Insert(m_nPosition, count, value);
}

void CPieceFile64::Delete(std::int64_t count) {
    KeepPositionWithin();
    m_table.Remove(m_nPosition, count);
}

void CPieceFile64::Flush() {
    if (m_table.IsReadOnly())
        return; // nothing is written, and the position stays
    m_table.Commit();
    m_nPosition = 0;
}

std::int64_t CPieceFile64::Find(CByteString pattern, int matchCase, int down, std::int64_t start,
                                std::int64_t limit) {
    if (pattern.empty())
        return start;
    KeepPositionWithin();
    const std::int64_t saved = m_nPosition;
    std::int64_t result = -1;
    try {
        result = m_table.Find(pattern, matchCase, down, start, limit);
    } catch (...) {
        m_nPosition = saved; // a failed read leaves the caret where it was, too
        throw;
    }
    m_nPosition = result < 0 ? saved : result;
    return result;
}

void CPieceFile64::SetCancelCheck(std::function<bool()> check) {
    m_cancelCheck = std::move(check);
    if (!m_cancelCheck) {
        m_table.SetSearchCheck(nullptr);
        return;
    }
    // A check written for the file reads how far the search got from the
    // position, as the search reads through it.
    m_table.SetSearchCheck([this](std::int64_t reached) {
        m_nPosition = reached;
        return m_cancelCheck();
    });
}

std::uint64_t CPieceFile64::Undo(CContentChanges* made) {
    const std::uint64_t id = m_table.Undo(made);
    KeepPositionWithin();
    return id;
}

std::uint64_t CPieceFile64::Redo(CContentChanges* made) {
    const std::uint64_t id = m_table.Redo(made);
    KeepPositionWithin();
    return id;
}

std::string CPieceFile64::CheckInvariants() const {
    std::string fault = m_table.CheckInvariants();
    if (fault.empty() && m_nPosition < 0)
        fault = "position out of range";
    return fault;
}
