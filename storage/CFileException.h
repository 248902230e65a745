// The file-error exception: a cause number, the system's error code (-1 when the
// error did not come from the system) and a file name (may be empty).
#pragma once

#include <exception>
#include <string>

class CFileException : public std::exception {
public:
    enum Cause {
        none = 0,
        genericException = 1,
        fileNotFound = 2,
        badPath = 3,
        tooManyOpenFiles = 4,
        accessDenied = 5,
        invalidFile = 6,
        removeCurrentDir = 7,
        directoryFull = 8,
        badSeek = 9,
        hardIO = 10,
        sharingViolation = 11,
        lockViolation = 12,
        diskFull = 13,
        endOfFile = 14,
        // Causes of our own, past the classic ones.
        notRegularFile = 15, // a named pipe, socket or device
        nameReplaced = 16,   // the name now leads elsewhere than the opened file
        ownerNotKept = 17,   // a rewrite would change the file's owner or group
        streamName = 18,     // a data stream of a file (Windows "file:stream"), not a file
        fileShortened = 19,  // another program cut the open file short
        lastCause = fileShortened,
    };

    CFileException() = default;
    CFileException(int cause, long osError = -1, std::string fileName = std::string())
        : m_cause(cause), m_lOsError(osError), m_strFileName(std::move(fileName)) {}

    // The cause's French text with %1 replaced by the file name ("sans titre"
    // when there is none).
    std::string GetErrorMessage() const;
    const char* what() const noexcept override;

    // Raises the error for a system error code; nothing when the code is 0.
    static void ThrowOsError(long osError, const std::string& fileName = std::string());
    static int OsErrorToCause(long osError);
    // Fills this record for a system error code, as a failed open reports it.
    void SetFromOsError(long osError, const std::string& fileName) {
        m_lOsError = osError;
        m_cause = OsErrorToCause(osError);
        m_strFileName = fileName;
    }

    int m_cause = none;
    long m_lOsError = -1;
    std::string m_strFileName;

private:
    mutable std::string m_what;
};

// Raised when memory runs out, where the framework raised its memory exception.
using CMemoryException = std::bad_alloc;
