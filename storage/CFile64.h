// A file whose positions and lengths are signed 64-bit, with the open-flag word
// and the error reporting of the framework's plain file class.
#pragma once

#include "platform/OsFile.h"
#include "storage/CFileException.h"

#include <cstdint>
#include <string>

class CFile64 {
public:
    enum SeekOrigin : unsigned { begin = 0, current = 1, end = 2 };
    enum OpenFlags : unsigned {
        modeRead = platform::modeRead,
        modeWrite = platform::modeWrite,
        modeReadWrite = platform::modeReadWrite,
        shareCompat = platform::shareCompat,
        shareExclusive = platform::shareExclusive,
        shareDenyWrite = platform::shareDenyWrite,
        shareDenyRead = platform::shareDenyRead,
        shareDenyNone = platform::shareDenyNone,
        modeNoInherit = platform::modeNoInherit,
        modeCreate = platform::modeCreate,
        modeNoTruncate = platform::modeNoTruncate,
        typeBinary = platform::typeBit,
    };

    CFile64() = default;
    CFile64(const CFile64&) = delete;
    CFile64& operator=(const CFile64&) = delete;
    virtual ~CFile64();

    virtual std::int64_t GetPosition() const;
    // False when the file cannot be opened; `error` (may be null) then gets the
    // cause, the system code and the caller's name.
    virtual bool Open(const char* fileName, unsigned flags, CFileException* error = nullptr);
    virtual std::int64_t Seek(std::int64_t offset, unsigned origin);
    virtual void SetLength(std::int64_t newLength);
    virtual std::int64_t GetLength() const;
    virtual std::uint32_t Read(void* buffer, std::uint32_t count);
    virtual void Write(const void* buffer, std::uint32_t count);
    virtual void Abort();
    virtual void Flush();
    virtual void Close();

    bool IsOpen() const { return m_hFile != platform::kNoFile; }
    const std::string& GetFilePath() const { return m_strFileName; }

protected:
    platform::FileHandle m_hFile = platform::kNoFile;
    std::string m_strFileName;

private:
    // The handle's own position; reads and writes are positioned explicitly.
    std::int64_t m_nFilePos = 0;
};
