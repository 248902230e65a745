#include "app/OwnFolder.h"

#include "platform/FaultInjection.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The test hooks of the file layer see these steps too, under full names.
int Inject(platform::FileOp op, const std::string& name) {
    platform::FaultInjector* injector = platform::CurrentFaultInjector();
    std::int64_t ignored = 0;
    return injector ? injector->Before(op, name, &ignored) : 0;
}

// A name component of our own: no separator, not "." or "..".
bool SingleName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

bool SafeFolder(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::geteuid())
        return false;
    const bool othersWrite = (info.st_mode & (S_IWGRP | S_IWOTH)) != 0;
    return !othersWrite || (info.st_mode & S_ISVTX) != 0;
}

// mkdir -p with owner-only folders, as the base directory rules ask.
void CreateFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (!part.empty())
            ::mkdir(part.c_str(), 0700); // an existing one fails harmlessly
        if (slash == std::string::npos)
            break;
    }
}

bool WriteAll(int fd, const std::string& text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

COwnFolder::~COwnFolder() {
    if (m_fd >= 0)
        ::close(m_fd);
}

COwnFolder::COwnFolder(COwnFolder&& other) noexcept : m_fd(other.m_fd), m_path(other.m_path) {
    other.m_fd = -1;
}

COwnFolder& COwnFolder::operator=(COwnFolder&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = other.m_fd;
        m_path = std::move(other.m_path);
        other.m_fd = -1;
    }
    return *this;
}

std::optional<COwnFolder> COwnFolder::Open(const std::string& path, bool create) {
    if (path.empty() || path[0] != '/')
        return std::nullopt;
    if (create)
        CreateFolders(path);
    COwnFolder folder;
    folder.m_fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    folder.m_path = path;
    if (folder.m_fd < 0 || !SafeFolder(folder.m_fd))
        return std::nullopt;
    return folder;
}

std::optional<std::string> COwnFolder::ReadSmallFile(const std::string& name,
                                                     std::size_t limit) const {
    if (!SingleName(name))
        return std::nullopt;
    // Non-blocking, so that a pipe planted under the name cannot hold us.
    const int fd = ::openat(m_fd, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::optional<std::string> text;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::size_t>(info.st_size) <= limit) {
        std::string content(limit + 1, '\0');
        std::size_t got = 0;
        for (;;) {
            const ssize_t n = ::read(fd, content.data() + got, content.size() - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n == 0 && got <= limit) {
                    content.resize(got);
                    text = std::move(content);
                }
                break;
            }
            got += static_cast<std::size_t>(n);
            if (got > limit)
                break; // grew since fstat
        }
    }
    ::close(fd);
    return text;
}

bool COwnFolder::ReplaceFile(const std::string& name, const std::string& text) const {
    if (!SingleName(name))
        return false;
    static std::mt19937_64 random(std::random_device{}());
    static const char digits[] = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string temporary;
    int fd = -1;
    if (Inject(platform::FileOp::CreateTemp, m_path + "/." + name + ".XXXXXXXX"))
        return false;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = "." + name + ".";
        for (int i = 0; i < 8; ++i)
            temporary += digits[random() % (sizeof digits - 1)];
        // Exclusive: whatever stands under the name, link included, is not ours.
        fd = ::openat(m_fd, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0644);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
    if (fd < 0)
        return false;
    const std::string full = m_path + "/" + temporary;
    bool ok = WriteAll(fd, text) && Inject(platform::FileOp::Sync, full) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && Inject(platform::FileOp::Replace, m_path + "/" + name) == 0 &&
         ::renameat(m_fd, temporary.c_str(), m_fd, name.c_str()) == 0;
    if (!ok) {
        ::unlinkat(m_fd, temporary.c_str(), 0);
        return false;
    }
    return Inject(platform::FileOp::SyncFolder, m_path + "/" + name) == 0 && ::fsync(m_fd) == 0;
}

bool COwnFolder::RemoveName(const std::string& name) const {
    return SingleName(name) && (::unlinkat(m_fd, name.c_str(), 0) == 0 || errno == ENOENT);
}

bool COwnFolder::RemoveEmptyFolder(const std::string& name) const {
    return SingleName(name) && ::unlinkat(m_fd, name.c_str(), AT_REMOVEDIR) == 0;
}
