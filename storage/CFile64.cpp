#include "storage/CFile64.h"

#include <cerrno>
#include <cstdint>

CFile64::~CFile64() {
    // A failing close in the destructor has nobody to report to.
    if (m_hFile != platform::kNoFile)
        platform::CloseFile(m_hFile);
}

std::int64_t CFile64::GetPosition() const {
    return m_nFilePos;
}

bool CFile64::Open(const char* fileName, unsigned flags, CFileException* error) {
    // A handle still held would keep its lock until the process ends.
    if (m_hFile != platform::kNoFile)
        platform::CloseFile(m_hFile);
    m_hFile = platform::kNoFile;
    m_strFileName.clear();
    m_nFilePos = 0;
    flags &= ~unsigned(typeBinary);
    const std::string name = fileName ? fileName : "";
    platform::FullPath(name, &m_strFileName);
    platform::FileHandle handle = platform::kNoFile;
    const int err = name.empty() ? ENOENT : platform::OpenFile(name, flags, &handle);
    if (err != 0) {
        if (error)
            error->SetFromOsError(err, name);
        return false;
    }
    m_hFile = handle;
    return true;
}

std::int64_t CFile64::Seek(std::int64_t offset, unsigned origin) {
    std::int64_t base = 0;
    switch (origin) {
    case begin:
        break;
    case current:
        base = m_nFilePos;
        break;
    case end:
        base = GetLength();
        break;
    default:
        throw CFileException(CFileException::badSeek, platform::kBadArgument);
    }
    // A position past the end is allowed, as the system allows it; a negative
    // one is refused.
    if ((offset < 0 && base + offset < 0) || (offset > 0 && base > INT64_MAX - offset))
        throw CFileException(CFileException::badSeek, platform::kBadArgument);
    m_nFilePos = base + offset;
    return m_nFilePos;
}

void CFile64::SetLength(std::int64_t newLength) {
    Seek(newLength, begin);
    CFileException::ThrowOsError(platform::SetFileLength(m_hFile, newLength));
}

std::int64_t CFile64::GetLength() const {
    std::int64_t length = 0;
    CFileException::ThrowOsError(platform::GetFileLength(m_hFile, &length));
    return length;
}

std::uint32_t CFile64::Read(void* buffer, std::uint32_t count) {
    if (count == 0)
        return 0;
    std::uint32_t done = 0;
    CFileException::ThrowOsError(platform::ReadAt(m_hFile, m_nFilePos, buffer, count, &done));
    m_nFilePos += done;
    return done;
}

void CFile64::Write(const void* buffer, std::uint32_t count) {
    if (count == 0)
        return;
    std::uint32_t done = 0;
    const int err = platform::WriteAt(m_hFile, m_nFilePos, buffer, count, &done);
    m_nFilePos += done;
    CFileException::ThrowOsError(err, m_strFileName);
    if (done < count)
        throw CFileException(CFileException::diskFull, -1, m_strFileName);
}

void CFile64::Abort() {
    if (m_hFile != platform::kNoFile) {
        platform::CloseFile(m_hFile);
        m_hFile = platform::kNoFile;
    }
    m_strFileName.clear();
}

void CFile64::Flush() {
    if (m_hFile != platform::kNoFile)
        CFileException::ThrowOsError(platform::SyncFile(m_hFile));
}

void CFile64::Close() {
    const int err = platform::CloseFile(m_hFile);
    m_hFile = platform::kNoFile;
    m_strFileName.clear();
    m_nFilePos = 0;
    CFileException::ThrowOsError(err);
}
