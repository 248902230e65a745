#include "framework/CSafeSaveFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace {

void FillError(CFileException* error, int osError, const std::string& name) {
    if (!error)
        return;
    error->m_lOsError = osError;
    error->m_cause = CFileException::OsErrorToCause(osError);
    error->m_strFileName = name;
}

// Saving through a symbolic link writes the file it points to, not a new file
// in the link's place; a link to a file not made yet makes that file.
std::string ResolveLink(const std::string& path) {
    std::error_code ec;
    std::filesystem::path current = path;
    for (int hops = 0; hops < 40 && std::filesystem::is_symlink(current, ec); ++hops) {
        const std::filesystem::path target = std::filesystem::canonical(current, ec);
        if (!ec)
            return target.string();
        const std::filesystem::path next = std::filesystem::read_symlink(current, ec);
        if (ec)
            return path;
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    return current.string();
}

} // namespace

CSafeSaveFile::~CSafeSaveFile() {
    Discard();
}

bool CSafeSaveFile::Open(const char* fileName, unsigned /*flags*/, CFileException* error) {
    Discard();
    const std::string name = fileName ? fileName : "";
    std::string full;
    if (name.empty() || !platform::FullPath(name, &full)) {
        FillError(error, ENOENT, name);
        return false;
    }
    m_strTarget = ResolveLink(full);
    std::error_code ec;
    const bool existed = std::filesystem::exists(m_strTarget, ec);

    const unsigned targetFlags = platform::modeReadWrite | platform::shareExclusive |
                                 platform::modeCreate | platform::modeNoTruncate;
    if (int err = platform::OpenFile(m_strTarget, targetFlags, &m_hTarget)) {
        m_hTarget = platform::kNoFile;
        FillError(error, err, name);
        return false;
    }
    m_bCreatedTarget = !existed;

    platform::FileHandle temp = platform::kNoFile;
    if (int err = platform::CreateTempFile(platform::FolderOf(m_strTarget), "qxo", &m_strTempName,
                                           &temp)) {
        Discard();
        FillError(error, err, name);
        return false;
    }
    m_hFile = temp;
    m_strFileName = m_strTarget;
    // The new content keeps the target's permissions (a new target gets the
    // ones a newly created file gets).
    platform::CopyPermissions(m_hTarget, m_hFile);
    return true;
}

void CSafeSaveFile::Close() {
    if (m_hFile == platform::kNoFile)
        return;
    int err = platform::SyncFile(m_hFile);
    const int closeErr = platform::CloseFile(m_hFile);
    m_hFile = platform::kNoFile;
    if (!err)
        err = closeErr;
    if (!err) {
        err = platform::ReplaceFile(m_strTempName, m_strTarget);
        bool tempLeft = false;
        platform::IsRegularName(m_strTempName, &tempLeft);
        if (err && !tempLeft) {
            // Renamed, but the folder could not be made durable: the target
            // already holds the new content and must stay.
            m_strTempName.clear();
            m_bCreatedTarget = false;
        }
    }
    if (err) {
        const std::string target = m_strTarget;
        Discard();
        throw CFileException(CFileException::OsErrorToCause(err), err, target);
    }
    m_strTempName.clear();
    m_bCreatedTarget = false; // it holds the saved content now
    platform::CloseFile(m_hTarget);
    m_hTarget = platform::kNoFile;
    m_strFileName.clear();
}

void CSafeSaveFile::Abort() {
    Discard();
}

void CSafeSaveFile::Discard() {
    if (m_hFile != platform::kNoFile) {
        platform::CloseFile(m_hFile);
        m_hFile = platform::kNoFile;
    }
    if (!m_strTempName.empty()) {
        platform::RemoveFile(m_strTempName);
        m_strTempName.clear();
    }
    if (m_hTarget != platform::kNoFile) {
        if (m_bCreatedTarget)
            platform::RemoveFile(m_strTarget);
        platform::CloseFile(m_hTarget);
        m_hTarget = platform::kNoFile;
    }
    m_bCreatedTarget = false;
    m_strFileName.clear();
}
