// How the system's error codes map to the file layer's causes on POSIX.
#ifndef _WIN32

#include "platform/OsFile.h"

#include <cerrno>
#include <cstring>

namespace platform {

int CauseFromOsError(int code) {
    if (code == kStreamName)
        return 18; // a data stream
    switch (code) {
    case 0:
        return 0;
    case ENOENT:
    case ENXIO:
        return 2; // file not found
    case ENODEV:
        return 15; // not a regular file
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
        return 3; // bad path
    case EMFILE:
    case ENFILE:
        return 4; // too many open files
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case EEXIST:
    case ETXTBSY:
        return 5; // access denied
    case EBADF:
        return 6; // invalid file
    case EBUSY:
        return 7; // remove current directory
    case ESPIPE:
    case EOVERFLOW:
        return 9; // bad seek
    case EIO:
        return 10; // hardware I/O error
    case EWOULDBLOCK:
        return 11; // sharing violation
    case ENOLCK:
    case EDEADLK:
        return 12; // lock violation
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return 13; // disk full
    default:
        return 1; // generic
    }
}

std::string OsErrorText(int code) {
    if (code <= 0)
        return std::string();
    char buffer[1024];
    const char* text = ::strerror_r(code, buffer, sizeof buffer);
    return text ? std::string(text) : std::string();
}

} // namespace platform

#endif // !_WIN32
