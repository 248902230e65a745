// Win32 implementation of the file layer. Share modes are the system's own;
// every open also shares deletion, so that a saved file can be moved over the
// one we hold open (the handle then reaches the replaced content until it is
// closed), as rename does on POSIX. Names are UTF-8 inside the program and
// UTF-16 here.
#ifdef _WIN32

#include "platform/FaultInjection.h"
#include "platform/OsFile.h"
#include "platform/WindowsNames.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#undef ReplaceFile // a macro for ReplaceFileA/W; ours is platform::ReplaceFile

#include <algorithm>
#include <map>
#include <random>
#include <vector>

namespace platform {

using namespace winnames;

const int kShareError = ERROR_SHARING_VIOLATION;
const int kNoSpace = ERROR_DISK_FULL;
const int kIoError = ERROR_IO_DEVICE;
const int kBadArgument = ERROR_INVALID_PARAMETER;
const int kAccessDenied = ERROR_ACCESS_DENIED;
const int kNotRegularFile = ERROR_BAD_DEVICE;
// An application-defined code (bit 29): the system never returns it.
const int kStreamName = 0x20000001;

namespace {

constexpr DWORD kCopyBufferSize = 0x40000;

HANDLE AsHandle(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

// Names of the open handles, so fault injection can tell files apart.
std::map<FileHandle, std::string>& OpenNames() {
    static std::map<FileHandle, std::string> names;
    return names;
}

const std::string& NameOf(FileHandle file) {
    static const std::string none;
    const auto it = OpenNames().find(file);
    return it == OpenNames().end() ? none : it->second;
}

int Inject(FileOp op, const std::string& name, std::int64_t* count = nullptr) {
    FaultInjector* injector = CurrentFaultInjector();
    if (!injector)
        return 0;
    std::int64_t ignored = 0;
    return injector->Before(op, name, count ? count : &ignored);
}

int LastError() {
    const DWORD err = ::GetLastError();
    return err == 0 ? ERROR_GEN_FAILURE : static_cast<int>(err);
}

DWORD ShareFor(unsigned flags) {
    switch (flags & shareMask) {
    case shareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    case shareDenyWrite:
        return FILE_SHARE_READ | FILE_SHARE_DELETE;
    case shareDenyRead:
        return FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    default: // compatibility, exclusive
        return FILE_SHARE_DELETE;
    }
}

// Where a positioned transfer starts. On this synchronous handle the transfer
// also moves the handle's own file pointer; nothing reads it (OsFile.h).
OVERLAPPED At(std::int64_t offset) {
    OVERLAPPED at{};
    const auto where = static_cast<std::uint64_t>(offset);
    at.Offset = static_cast<DWORD>(where);
    at.OffsetHigh = static_cast<DWORD>(where >> 32);
    return at;
}

} // namespace

int OpenFile(const std::string& name, unsigned flags, FileHandle* out) {
    *out = kNoFile;
    if (int err = Inject(FileOp::Open, name))
        return err;
    flags &= ~unsigned(typeBit);
    if (IsStreamName(name))
        return kStreamName;
    if (!HasLongPrefix(name)) {
        const std::vector<std::string> parts = NameParts(name);
        if (!parts.empty() && IsDeviceName(parts.back()))
            return kNotRegularFile;
    }
    DWORD access = GENERIC_READ;
    switch (flags & accessMask) {
    case modeWrite:
        access = GENERIC_WRITE;
        break;
    case modeReadWrite:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    default:
        break;
    }
    DWORD creation = OPEN_EXISTING;
    if (flags & modeCreate)
        creation = (flags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE}; // never inherited
    const HANDLE handle = ::CreateFileW(Wide(name).c_str(), access, ShareFor(flags), &security,
                                        creation, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return LastError();
    // CreateFile refuses folders by itself (access denied); other kinds of
    // object (devices, pipes) are not files to edit either.
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        return kNotRegularFile;
    }
    try {
        OpenNames()[reinterpret_cast<FileHandle>(handle)] = name;
    } catch (...) {
        ::CloseHandle(handle);
        throw;
    }
    *out = reinterpret_cast<FileHandle>(handle);
    return 0;
}

int LockFile(FileHandle, unsigned) {
    return 0; // the share mode given at open already does the locking
}

int CloseFile(FileHandle file) {
    Inject(FileOp::Close, NameOf(file));
    if (file == kNoFile || file == 0)
        return ERROR_INVALID_HANDLE;
    OpenNames().erase(file);
    return ::CloseHandle(AsHandle(file)) ? 0 : LastError();
}

int ReadAt(FileHandle file, std::int64_t offset, void* buffer, std::uint32_t count,
           std::uint32_t* done) {
    *done = 0;
    if (int err = Inject(FileOp::Read, NameOf(file)))
        return err;
    auto* p = static_cast<char*>(buffer);
    while (*done < count) {
        OVERLAPPED at = At(offset + *done);
        DWORD n = 0;
        if (!::ReadFile(AsHandle(file), p + *done, count - *done, &n, &at)) {
            const DWORD err = ::GetLastError();
            if (err == ERROR_HANDLE_EOF)
                break;
            return static_cast<int>(err);
        }
        if (n == 0)
            break; // end of file
        *done += n;
    }
    return 0;
}

int WriteAt(FileHandle file, std::int64_t offset, const void* buffer, std::uint32_t count,
            std::uint32_t* done) {
    *done = 0;
    std::int64_t allowed = count;
    if (int err = Inject(FileOp::Write, NameOf(file), &allowed))
        return err;
    if (allowed < count)
        count = static_cast<std::uint32_t>(allowed < 0 ? 0 : allowed);
    const auto* p = static_cast<const char*>(buffer);
    while (*done < count) {
        OVERLAPPED at = At(offset + *done);
        DWORD n = 0;
        if (!::WriteFile(AsHandle(file), p + *done, count - *done, &n, &at))
            return LastError();
        if (n == 0)
            break;
        *done += n;
    }
    return 0;
}

int CopyRange(FileHandle from, std::int64_t fromOffset, FileHandle to, std::int64_t toOffset,
              std::int64_t count, std::int64_t* done) {
    *done = 0;
    // Faults: reading the source fails as a Read of it; the destination's as a Copy.
    if (int err = Inject(FileOp::Read, NameOf(from)))
        return err;
    std::int64_t allowed = count;
    if (int err = Inject(FileOp::Copy, NameOf(to), &allowed))
        return err;
    count = allowed < count ? allowed : count;
    std::vector<char> buffer(kCopyBufferSize);
    while (*done < count) {
        const std::int64_t want = count - *done;
        const auto chunk = static_cast<std::uint32_t>(
            want < static_cast<std::int64_t>(buffer.size()) ? want : buffer.size());
        std::uint32_t got = 0;
        if (int err = ReadAt(from, fromOffset + *done, buffer.data(), chunk, &got))
            return err;
        if (got == 0)
            break;
        std::uint32_t put = 0;
        if (int err = WriteAt(to, toOffset + *done, buffer.data(), got, &put))
            return err;
        if (put < got)
            return ERROR_DISK_FULL;
        *done += got;
    }
    return 0;
}

void StartWriteBack(FileHandle, std::int64_t, std::int64_t) {
    // No portable way to start write-back early; SyncFile does it all.
}

int GetFileLength(FileHandle file, std::int64_t* length) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(AsHandle(file), &size)) {
        *length = 0;
        return LastError();
    }
    *length = size.QuadPart;
    return 0;
}

namespace {
FileIdentity IdentityFromInfo(const BY_HANDLE_FILE_INFORMATION& info) {
    FileIdentity id;
    id.m_bValid = true;
    id.m_nDevice = info.dwVolumeSerialNumber;
    id.m_nFileNumber = (std::uint64_t(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    id.m_nSize = std::int64_t((std::uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
    id.m_nWriteTime = std::int64_t((std::uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32) |
                                   info.ftLastWriteTime.dwLowDateTime);
    return id;
}
} // namespace

FileIdentity IdentityOf(FileHandle file) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (file == kNoFile || !::GetFileInformationByHandle(AsHandle(file), &info))
        return {};
    return IdentityFromInfo(info);
}

FileIdentity IdentityOfName(const std::string& name) {
    const HANDLE named =
        ::CreateFileW(Wide(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return {};
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(named, &info);
    ::CloseHandle(named);
    return ok ? IdentityFromInfo(info) : FileIdentity{};
}

bool IsFileNamed(FileHandle file, const std::string& name) {
    BY_HANDLE_FILE_INFORMATION open{};
    if (!::GetFileInformationByHandle(AsHandle(file), &open))
        return false;
    const HANDLE named =
        ::CreateFileW(Wide(name).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (named == INVALID_HANDLE_VALUE)
        return false;
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(named, &info);
    ::CloseHandle(named);
    return ok && info.dwVolumeSerialNumber == open.dwVolumeSerialNumber &&
           info.nFileIndexHigh == open.nFileIndexHigh && info.nFileIndexLow == open.nFileIndexLow;
}

bool SameFileOnDisk(const std::string& a, const std::string& b) {
    const HANDLE first =
        ::CreateFileW(Wide(a).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (first == INVALID_HANDLE_VALUE)
        return false;
    const bool same = IsFileNamed(reinterpret_cast<FileHandle>(first), b);
    ::CloseHandle(first);
    return same;
}

bool IsRegularName(const std::string& name, bool* exists) {
    const DWORD attributes = ::GetFileAttributesW(Wide(name).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD err = ::GetLastError();
        *exists = err != ERROR_FILE_NOT_FOUND && err != ERROR_PATH_NOT_FOUND;
        return false;
    }
    *exists = true;
    // A link (reparse point) or a folder is not the file that was opened.
    return (attributes &
            (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0;
}

int SetFileLength(FileHandle file, std::int64_t length) {
    if (int err = Inject(FileOp::SetLength, NameOf(file)))
        return err;
    if (length < 0)
        return ERROR_INVALID_PARAMETER;
    FILE_END_OF_FILE_INFO info{};
    info.EndOfFile.QuadPart = length;
    return ::SetFileInformationByHandle(AsHandle(file), FileEndOfFileInfo, &info, sizeof info)
               ? 0
               : LastError();
}

int SyncFile(FileHandle file) {
    if (int err = Inject(FileOp::Sync, NameOf(file)))
        return err;
    return ::FlushFileBuffers(AsHandle(file)) ? 0 : LastError();
}

int CopyPermissions(FileHandle from, FileHandle to) {
    // Access lists come along with ReplaceFileW; what is left to carry over
    // are the attributes a user sets by hand.
    FILE_BASIC_INFO info{};
    if (!::GetFileInformationByHandleEx(AsHandle(from), FileBasicInfo, &info, sizeof info))
        return LastError();
    FILE_BASIC_INFO mine{};
    if (!::GetFileInformationByHandleEx(AsHandle(to), FileBasicInfo, &mine, sizeof mine))
        return LastError();
    constexpr DWORD kCarried = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                               FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    mine.FileAttributes = (mine.FileAttributes & ~kCarried) | (info.FileAttributes & kCarried);
    if (mine.FileAttributes == 0)
        mine.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    mine.CreationTime.QuadPart = 0; // zero: leave the times as they are
    mine.LastAccessTime.QuadPart = 0;
    mine.LastWriteTime.QuadPart = 0;
    mine.ChangeTime.QuadPart = 0;
    return ::SetFileInformationByHandle(AsHandle(to), FileBasicInfo, &mine, sizeof mine)
               ? 0
               : LastError();
}

bool SameOwner(FileHandle, FileHandle) {
    // Access here is the file's access list, which ReplaceFileW carries over;
    // there is no owner and group pair to lose.
    return true;
}

int CreateTempFile(const std::string& folder, const std::string& prefix, std::string* name,
                   FileHandle* out) {
    *out = kNoFile;
    name->clear();
    const std::string separator = !folder.empty() && IsSeparator(folder.back()) ? "" : "\\";
    if (int err = Inject(FileOp::CreateTemp, folder + separator + prefix + "XXXXXX.tmp"))
        return err;
    static std::mt19937 random(std::random_device{}() ^ ::GetCurrentProcessId());
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = folder + separator + prefix;
        for (int i = 0; i < 6; ++i)
            candidate += digits[random() % 36];
        candidate += ".tmp";
        SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
        // Deny writing to others at once: the temporary becomes the saved file.
        // Deny writing to others at once: the temporary becomes the saved file.
        const HANDLE handle = ::CreateFileW(Wide(candidate).c_str(), GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_DELETE, &security,
                                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD err = ::GetLastError();
            if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS)
                continue;
            return static_cast<int>(err);
        }
        *name = candidate;
        *out = reinterpret_cast<FileHandle>(handle);
        OpenNames()[*out] = candidate;
        return 0;
    }
    return ERROR_FILE_EXISTS;
}

int RemoveFile(const std::string& name) {
    if (int err = Inject(FileOp::Remove, name))
        return err;
    return ::DeleteFileW(Wide(name).c_str()) ? 0 : LastError();
}

namespace {
bool g_bMoveOnly = false;
}

void UseMoveForReplaceForTests(bool moveOnly) {
    g_bMoveOnly = moveOnly;
}

int ReplaceFile(const std::string& from, const std::string& to) {
    if (int err = Inject(FileOp::Replace, to))
        return err;
    // Both calls want full names (ReplaceFileW fails on relative ones).
    std::string fullFrom;
    std::string fullTo;
    if (!FullPath(from, &fullFrom) || !FullPath(to, &fullTo))
        return ERROR_INVALID_NAME;
    const std::wstring wideFrom = Wide(fullFrom);
    const std::wstring wideTo = Wide(fullTo);
    // ReplaceFileW keeps the replaced file's access list and identity; where it
    // cannot serve (no file to replace yet, a file system without it) a
    // write-through move does the same job. Every failure of ReplaceFileW
    // without a backup name leaves the original in place.
    bool moved = false;
    if (!g_bMoveOnly)
        moved = ::ReplaceFileW(wideTo.c_str(), wideFrom.c_str(), nullptr,
                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
    if (!moved && !::MoveFileExW(wideFrom.c_str(), wideTo.c_str(),
                                 MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return LastError();
    for (auto& open : OpenNames())
        if (open.second == from)
            open.second = to;
    // The move is written through; the folder needs no sync of its own. The
    // fault point stays, so the error after a rename is tested here as well.
    return Inject(FileOp::SyncFolder, FolderOf(to));
}

int ReplaceHeldFile(FileHandle* held, const std::string& from, const std::string& to,
                    unsigned flags) {
    // Neither ReplaceFileW nor a move takes a file that is open here.
    CloseFile(*held);
    *held = kNoFile;
    const int err = ReplaceFile(from, to);
    const int reopen = OpenFile(err == 0 ? to : from, flags, held);
    return err != 0 ? err : reopen;
}

} // namespace platform

#endif // _WIN32
