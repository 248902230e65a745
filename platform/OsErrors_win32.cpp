// How the system's error codes map to the file layer's causes on Windows.
#ifdef _WIN32

#include "platform/OsFile.h"
#include "platform/WindowsNames.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace platform {

using namespace winnames;

int CauseFromOsError(int code) {
    if (code == kStreamName)
        return 18; // a data stream
    switch (code) {
    case 0:
        return 0;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_NOT_READY:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return 2; // file not found
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_PATHNAME:
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_DIRECTORY:
        return 3; // bad path
    case ERROR_TOO_MANY_OPEN_FILES:
        return 4; // too many open files
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
    case ERROR_CANNOT_MAKE:
    case ERROR_NETWORK_ACCESS_DENIED:
        return 5; // access denied
    case ERROR_INVALID_HANDLE:
        return 6; // invalid file
    case ERROR_CURRENT_DIRECTORY:
        return 7; // remove current directory
    case ERROR_NEGATIVE_SEEK:
    case ERROR_SEEK_ON_DEVICE:
    case ERROR_SEEK:
        return 9; // bad seek
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_IO_DEVICE:
    case ERROR_SECTOR_NOT_FOUND:
        return 10; // hardware I/O error
    case ERROR_SHARING_VIOLATION:
        return 11; // sharing violation
    case ERROR_LOCK_VIOLATION:
    case ERROR_DRIVE_LOCKED:
        return 12; // lock violation
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_FILE_TOO_LARGE:
    case 1295:     // ERROR_DISK_QUOTA_EXCEEDED, missing from some headers
        return 13; // disk full
    case ERROR_HANDLE_EOF:
        return 14; // end of file
    case ERROR_BAD_DEVICE:
        return 15; // not a regular file
    default:
        return 1; // generic
    }
}

std::string OsErrorText(int code) {
    if (code <= 0)
        return std::string();
    wchar_t buffer[1024];
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, static_cast<DWORD>(code), 0, buffer, 1024, nullptr);
    std::wstring text(buffer, n);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '))
        text.pop_back();
    return Narrow(text);
}

} // namespace platform

#endif // _WIN32
