// A folder of the user's own, reached through one open descriptor: every name
// below it is created, read, replaced and removed relative to that descriptor
// and never through a link, so a folder others can reach cannot turn a write
// of ours into a write elsewhere. POSIX only.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

class COwnFolder {
public:
    COwnFolder() = default;
    ~COwnFolder();
    COwnFolder(COwnFolder&& other) noexcept;
    COwnFolder& operator=(COwnFolder&& other) noexcept;
    COwnFolder(const COwnFolder&) = delete;
    COwnFolder& operator=(const COwnFolder&) = delete;

    // Opens `path`, creating the missing folders (owner only) when `create` is
    // set. Refused: a link as the last part, anything but a folder, a folder
    // another user owns, and one that others may write to unless it is sticky
    // (where they cannot rename or remove what we put there).
    static std::optional<COwnFolder> Open(const std::string& path, bool create);

    // The content of the regular file `name` when it holds at most `limit`
    // bytes. Links, pipes, devices and larger files give nothing, at once.
    std::optional<std::string> ReadSmallFile(const std::string& name, std::size_t limit) const;

    // Writes `text` to a new file of a random name, syncs it and renames it
    // over `name` (which, if a link, is replaced and not followed), then syncs
    // the folder. On failure `name` is as it was and the new file is gone.
    bool ReplaceFile(const std::string& name, const std::string& text) const;

    // Removes the directory entry `name` itself (never what a link points to);
    // true when it is gone, or was never there.
    bool RemoveName(const std::string& name) const;
    // Removes the folder `name` when it is empty.
    bool RemoveEmptyFolder(const std::string& name) const;

    const std::string& Path() const { return m_path; }

private:
    int m_fd = -1;
    std::string m_path;
};
