// Names on Windows: full paths, links resolved, folders and case-blind
// comparison. Names are UTF-8 inside the program and UTF-16 here.
#ifdef _WIN32

#include "platform/OsFile.h"
#include "platform/WindowsNames.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace platform {

using namespace winnames;

bool FullPath(const std::string& name, std::string* out) {
    *out = name;
    if (name.empty())
        return false;
    // Already full, and to be taken literally: "\\?\C:\x\name." is not
    // "C:\x\name", which normal path rules would make of it.
    if (HasLongPrefix(name))
        return true;
    const std::wstring wide = Wide(name);
    const DWORD n = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (n == 0)
        return false;
    std::wstring full(n, L'\0');
    const DWORD got = ::GetFullPathNameW(wide.c_str(), n, full.data(), nullptr);
    if (got == 0 || got >= n)
        return false;
    full.resize(got);
    *out = Narrow(full);
    return true;
}

bool ResolveLinks(const std::string& name, std::string* out) {
    const HANDLE handle =
        ::CreateFileW(Wide(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        *out = name;
        return false;
    }
    std::wstring path(MAX_PATH, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                          FILE_NAME_NORMALIZED);
    if (n >= path.size()) {
        path.resize(n + 1);
        n = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                        FILE_NAME_NORMALIZED);
    }
    if (n == 0 || n >= path.size()) {
        ::CloseHandle(handle);
        *out = name;
        return false;
    }
    path.resize(n);
    const std::string finalPath = Narrow(path);
    // Some systems (Wine) drop a trailing dot even here: a "\\?\" name that
    // the final path no longer reaches is kept as it was given.
    if (HasLongPrefix(name) && !IsFileNamed(reinterpret_cast<FileHandle>(handle), finalPath)) {
        ::CloseHandle(handle);
        *out = name;
        return true;
    }
    ::CloseHandle(handle);
    *out = WithoutLongPrefix(finalPath);
    return true;
}

std::string FolderOf(const std::string& path) {
    size_t slash = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i)
        if (IsSeparator(path[i]))
            slash = i;
    if (slash == std::string::npos)
        return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : ".";
    if (slash == 0 || (slash == 2 && path[1] == ':'))
        return path.substr(0, slash + 1); // "\" or "C:\"
    return path.substr(0, slash);
}

bool SameFileName(const std::string& a, const std::string& b) {
    // Names differing only in case name the same file here.
    const std::wstring wa = Wide(a);
    const std::wstring wb = Wide(b);
    return ::CompareStringOrdinal(wa.data(), static_cast<int>(wa.size()), wb.data(),
                                  static_cast<int>(wb.size()), TRUE) == CSTR_EQUAL;
}

} // namespace platform

#endif // _WIN32
