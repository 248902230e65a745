// POSIX implementation of the file layer. Share modes are emulated with flock:
// opens that deny writing (or everything) and may write take an exclusive lock,
// read-only deny-write opens a shared one. flock locks belong to the open file
// description, so two opens inside one process conflict as two programs would.
#ifndef _WIN32

#include "platform/FaultInjection.h"
#include "platform/OsFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace platform {

const int kShareError = EWOULDBLOCK;
const int kNoSpace = ENOSPC;
const int kIoError = EIO;
const int kBadArgument = EINVAL;
const int kAccessDenied = EACCES;
const int kNotRegularFile = ENODEV;
const int kStreamName = -1000; // no such thing here; only the Windows layer returns it

namespace {

constexpr size_t kCopyBufferSize = 0x40000;

// Names of the open descriptors, so fault injection can tell files apart.
std::vector<std::string>& OpenNames() {
    static std::vector<std::string> names;
    return names;
}

void RememberName(int fd, const std::string& name) {
    if (fd < 0)
        return;
    auto& names = OpenNames();
    if (names.size() <= static_cast<size_t>(fd))
        names.resize(static_cast<size_t>(fd) + 1);
    names[static_cast<size_t>(fd)] = name;
}

const std::string& NameOf(FileHandle file) {
    static const std::string none;
    auto& names = OpenNames();
    if (file < 0 || static_cast<size_t>(file) >= names.size())
        return none;
    return names[static_cast<size_t>(file)];
}

int Inject(FileOp op, const std::string& name, std::int64_t* count = nullptr) {
    FaultInjector* injector = CurrentFaultInjector();
    if (!injector)
        return 0;
    std::int64_t ignored = 0;
    return injector->Before(op, name, count ? count : &ignored);
}

int LockFor(unsigned flags) {
    const unsigned share = flags & shareMask;
    const bool writes = (flags & accessMask) != modeRead || (flags & modeCreate);
    switch (share) {
    case shareDenyNone:
        return 0;
    case shareDenyWrite:
        return writes ? LOCK_EX : LOCK_SH;
    default: // compatibility, exclusive, deny read
        return LOCK_EX;
    }
}

} // namespace

int OpenFile(const std::string& name, unsigned flags, FileHandle* out) {
    *out = kNoFile;
    if (int err = Inject(FileOp::Open, name))
        return err;
    flags &= ~unsigned(typeBit);
    int oflags = 0;
    switch (flags & accessMask) {
    case modeWrite:
        oflags = O_WRONLY;
        break;
    case modeReadWrite:
        oflags = O_RDWR;
        break;
    default:
        oflags = O_RDONLY;
        break;
    }
    if (flags & modeCreate)
        oflags |= O_CREAT; // truncation waits until the lock is held
    // Never inherited (see the header); never blocking, as opening a named pipe
    // or a terminal would wait for a peer that may never come.
    oflags |= O_CLOEXEC | O_NONBLOCK;
    struct stat st {};
    // A socket is refused by open() itself, with an error that reads "not found".
    if (::stat(name.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return kNotRegularFile;
    const int fd = ::open(name.c_str(), oflags, 0666);
    if (fd < 0)
        return errno;
    int err = ::fstat(fd, &st) != 0 ? errno : 0;
    if (err == 0 && !S_ISREG(st.st_mode))
        err = S_ISDIR(st.st_mode) ? EACCES : kNotRegularFile; // a folder: access denied
    if (err != 0) {
        ::close(fd);
        return err;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    err = LockFile(fd, flags);
    if (err == 0 && (flags & modeCreate) && !(flags & modeNoTruncate) && ::ftruncate(fd, 0) != 0)
        err = errno;
    if (err != 0) {
        ::close(fd);
        return err;
    }
    RememberName(fd, name);
    *out = fd;
    return 0;
}

int LockFile(FileHandle file, unsigned flags) {
    const int lock = LockFor(flags);
    if (lock == 0)
        return 0;
    if (::flock(static_cast<int>(file), lock | LOCK_NB) != 0)
        return errno == EWOULDBLOCK ? kShareError : errno;
    return 0;
}

int CloseFile(FileHandle file) {
    Inject(FileOp::Close, NameOf(file));
    if (file < 0 || file > INT_MAX)
        return EBADF;
    RememberName(static_cast<int>(file), std::string());
    return ::close(static_cast<int>(file)) == 0 ? 0 : errno;
}

int ReadAt(FileHandle file, std::int64_t offset, void* buffer, std::uint32_t count,
           std::uint32_t* done) {
    *done = 0;
    if (int err = Inject(FileOp::Read, NameOf(file)))
        return err;
    auto* p = static_cast<char*>(buffer);
    while (*done < count) {
        const ssize_t n = ::pread(static_cast<int>(file), p + *done, count - *done,
                                  static_cast<off_t>(offset + *done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break; // end of file
        *done += static_cast<std::uint32_t>(n);
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
        const ssize_t n = ::pwrite(static_cast<int>(file), p + *done, count - *done,
                                   static_cast<off_t>(offset + *done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (n == 0)
            break;
        *done += static_cast<std::uint32_t>(n);
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
    off_t in = static_cast<off_t>(fromOffset);
    off_t out = static_cast<off_t>(toOffset);
    // The kernel copies fast (or shares blocks) only when both sides lie alike
    // on pages; shifted by a byte it is slower than copying through a buffer.
    static const long page = ::sysconf(_SC_PAGESIZE) > 0 ? ::sysconf(_SC_PAGESIZE) : 4096;
    bool kernelCopy = (fromOffset - toOffset) % page == 0;
    std::vector<char> buffer;
    while (*done < count) {
        const std::int64_t want = count - *done;
        if (kernelCopy) {
            const size_t chunk = static_cast<size_t>(want < (1 << 30) ? want : (1 << 30));
            const ssize_t n = ::copy_file_range(static_cast<int>(from), &in, static_cast<int>(to),
                                                &out, chunk, 0);
            if (n > 0) {
                *done += n;
                continue;
            }
            if (n == 0)
                break; // the source ended early
            if (errno == EINTR)
                continue;
            if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP &&
                errno != EBADF)
                return errno;
            kernelCopy = false; // fall back to reading and writing
        }
        if (buffer.empty())
            buffer.resize(kCopyBufferSize);
        const std::uint32_t chunk =
            static_cast<std::uint32_t>(want < std::int64_t(buffer.size()) ? want : buffer.size());
        std::uint32_t got = 0;
        if (int err = ReadAt(from, in, buffer.data(), chunk, &got))
            return err;
        if (got == 0)
            break;
        std::uint32_t put = 0;
        if (int err = WriteAt(to, out, buffer.data(), got, &put))
            return err;
        if (put < got)
            return ENOSPC;
        in += got;
        out += got;
        *done += got;
    }
    return 0;
}

void StartWriteBack(FileHandle file, std::int64_t offset, std::int64_t count) {
#if defined(__linux__)
    ::sync_file_range(static_cast<int>(file), static_cast<off_t>(offset), static_cast<off_t>(count),
                      SYNC_FILE_RANGE_WRITE);
#else
    (void)file;
    (void)offset;
    (void)count;
#endif
}

int GetFileLength(FileHandle file, std::int64_t* length) {
    struct stat st {};
    if (::fstat(static_cast<int>(file), &st) != 0) {
        *length = 0;
        return errno;
    }
    *length = st.st_size;
    return 0;
}

namespace {
FileIdentity IdentityFromStat(const struct stat& st) {
    FileIdentity id;
    id.m_bValid = true;
    id.m_nDevice = static_cast<std::uint64_t>(st.st_dev);
    id.m_nFileNumber = static_cast<std::uint64_t>(st.st_ino);
    id.m_nSize = st.st_size;
    id.m_nWriteTime = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return id;
}
} // namespace

FileIdentity IdentityOf(FileHandle file) {
    struct stat st {};
    if (file == kNoFile || ::fstat(static_cast<int>(file), &st) != 0)
        return {};
    return IdentityFromStat(st);
}

FileIdentity IdentityOfName(const std::string& name) {
    struct stat st {};
    if (::stat(name.c_str(), &st) != 0)
        return {};
    return IdentityFromStat(st);
}

bool IsFileNamed(FileHandle file, const std::string& name) {
    struct stat open {};
    struct stat named {};
    if (::fstat(static_cast<int>(file), &open) != 0 || ::stat(name.c_str(), &named) != 0)
        return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

bool SameFileOnDisk(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

bool IsRegularName(const std::string& name, bool* exists) {
    struct stat st {};
    *exists = ::lstat(name.c_str(), &st) == 0 || errno != ENOENT;
    return *exists && S_ISREG(st.st_mode);
}

int SetFileLength(FileHandle file, std::int64_t length) {
    if (int err = Inject(FileOp::SetLength, NameOf(file)))
        return err;
    if (length < 0)
        return EINVAL;
    return ::ftruncate(static_cast<int>(file), static_cast<off_t>(length)) == 0 ? 0 : errno;
}

int SyncFile(FileHandle file) {
    if (int err = Inject(FileOp::Sync, NameOf(file)))
        return err;
    return ::fsync(static_cast<int>(file)) == 0 ? 0 : errno;
}

int CopyPermissions(FileHandle from, FileHandle to) {
    struct stat st {};
    struct stat mine {};
    if (::fstat(static_cast<int>(from), &st) != 0 || ::fstat(static_cast<int>(to), &mine) != 0)
        return errno;
    // Owner first: changing it may clear the set-id bits the mode then restores.
    // Only root may give a file away; a member of the group may still keep it.
    if ((mine.st_uid != st.st_uid || mine.st_gid != st.st_gid) &&
        ::fchown(static_cast<int>(to), st.st_uid, st.st_gid) != 0 &&
        ::fchown(static_cast<int>(to), static_cast<uid_t>(-1), st.st_gid) != 0) {
        // Neither: the copy stays in our own group.
    }
    if (::fstat(static_cast<int>(to), &mine) != 0)
        return errno;
    mode_t mode = st.st_mode & 07777;
    // Rights never pass to someone who did not hold them: no set-user-id for a
    // new owner, no set-group-id nor group rights for a new group.
    if (mine.st_uid != st.st_uid)
        mode &= ~mode_t(S_ISUID);
    if (mine.st_gid != st.st_gid)
        mode &= ~mode_t(S_ISGID | S_IRWXG);
    return ::fchmod(static_cast<int>(to), mode) == 0 ? 0 : errno;
}

bool SameOwner(FileHandle a, FileHandle b) {
    struct stat sa {};
    struct stat sb {};
    return ::fstat(static_cast<int>(a), &sa) == 0 && ::fstat(static_cast<int>(b), &sb) == 0 &&
           sa.st_uid == sb.st_uid && sa.st_gid == sb.st_gid;
}

bool FullPath(const std::string& name, std::string* out) {
    *out = name;
    if (name.empty())
        return false;
    std::string path = name;
    if (path[0] != '/') {
        std::vector<char> cwd(PATH_MAX + 1);
        if (!::getcwd(cwd.data(), cwd.size()))
            return false;
        path = std::string(cwd.data()) + "/" + path;
    }
    // Fold ".", ".." and repeated separators without touching the disk.
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('/', i);
        if (j == std::string::npos)
            j = path.size();
        std::string part = path.substr(i, j - i);
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        i = j + 1;
    }
    std::string result;
    for (const auto& part : parts)
        result += "/" + part;
    *out = result.empty() ? "/" : result;
    return true;
}

bool ResolveLinks(const std::string& name, std::string* out) {
    char* resolved = ::realpath(name.c_str(), nullptr);
    if (!resolved) {
        *out = name;
        return false;
    }
    *out = resolved;
    ::free(resolved);
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    if (slash == 0)
        return "/";
    return path.substr(0, slash);
}

bool SameFileName(const std::string& a, const std::string& b) {
    return a == b;
}

int CreateTempFile(const std::string& folder, const std::string& prefix, std::string* name,
                   FileHandle* out) {
    *out = kNoFile;
    name->clear();
    std::string pattern = folder + "/" + prefix + "XXXXXX.tmp";
    if (int err = Inject(FileOp::CreateTemp, pattern))
        return err;
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int fd = ::mkostemps(buffer.data(), 4, O_CLOEXEC);
    if (fd < 0)
        return errno;
    *name = buffer.data();
    RememberName(fd, *name);
    *out = fd;
    return 0;
}

int RemoveFile(const std::string& name) {
    if (int err = Inject(FileOp::Remove, name))
        return err;
    return ::unlink(name.c_str()) == 0 ? 0 : errno;
}

int ReplaceFile(const std::string& from, const std::string& to) {
    if (int err = Inject(FileOp::Replace, to))
        return err;
    if (::rename(from.c_str(), to.c_str()) != 0)
        return errno;
    for (auto& open : OpenNames())
        if (open == from)
            open = to;
    // Make the new directory entry durable; the data was synced by the caller.
    // A failure is reported: the file is in place, but a crash may yet undo it.
    if (int err = Inject(FileOp::SyncFolder, to))
        return err;
    const int dir = ::open(FolderOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return errno;
    const int err = ::fsync(dir) == 0 ? 0 : errno;
    ::close(dir);
    return err;
}

int ReplaceHeldFile(FileHandle*, const std::string& from, const std::string& to, unsigned) {
    return ReplaceFile(from, to); // the descriptor follows the file
}

} // namespace platform

#endif // !_WIN32
