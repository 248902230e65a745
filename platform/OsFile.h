// The operating-system file layer under the storage classes. Every call returns
// 0 on success or the system's error code (errno here, GetLastError on Windows),
// so the callers decide what becomes an exception. No Qt, no exceptions.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

using FileHandle = std::intptr_t; // a file descriptor here, a HANDLE on Windows
inline constexpr FileHandle kNoFile = -1;

// Bits of the open-flag word that the file classes pass through.
enum OpenFlags : unsigned {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    accessMask = 0x0003,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    shareMask = 0x0070,
    modeNoInherit = 0x0080,
    modeCreate = 0x1000,
    modeNoTruncate = 0x2000,
    typeBit = 0x8000,
};

// Opens `name` as the flag word says. Only regular files open: a folder is
// refused as access denied, anything else (named pipe, socket, character or
// block device) with kNotRegularFile, without waiting for a peer. Share modes
// are emulated with advisory locks: a conflicting open fails with the
// sharing-violation code (kShareError). Handles are never inherited by programs
// we start, whatever the flags say: an inherited handle would keep the file
// locked after we let go of it.
int OpenFile(const std::string& name, unsigned flags, FileHandle* out);
// Takes the lock that an open with `flags` would take, on a handle already open.
int LockFile(FileHandle file, unsigned flags);
int CloseFile(FileHandle file);

// Positioned transfer; `*done` receives the bytes moved (fewer at end of file).
// Here (pread/pwrite) the descriptor's own file offset never moves. On Windows
// the offset goes in an OVERLAPPED record on a handle opened without
// FILE_FLAG_OVERLAPPED, and such a synchronous transfer also leaves the
// handle's own file pointer just after the bytes moved. Nothing depends on that
// pointer: this layer has no seek and no transfer at the pointer, every read,
// write and copy names its offset, and CFile64 keeps its position in its own
// member. So no transfer depends on where an earlier one left the pointer; a
// caller added later must name its offset too, never read the pointer back.
int ReadAt(FileHandle file, std::int64_t offset, void* buffer, std::uint32_t count,
           std::uint32_t* done);
int WriteAt(FileHandle file, std::int64_t offset, const void* buffer, std::uint32_t count,
            std::uint32_t* done);
// Copies `count` bytes between two files in the kernel where it can; `*done`
// receives the bytes copied, which may be fewer when the source ends early.
int CopyRange(FileHandle from, std::int64_t fromOffset, FileHandle to, std::int64_t toOffset,
              std::int64_t count, std::int64_t* done);
// Starts writing the range to the disk without waiting, so a later SyncFile has
// less left to do. Only a hint: nothing is reported.
void StartWriteBack(FileHandle file, std::int64_t offset, std::int64_t count);

int GetFileLength(FileHandle file, std::int64_t* length);

// What tells one state of a file from another without reading it: which file
// (device and file number) and its size and last write time. Another program
// changing the file moves the size or the time; one writing a new file under
// the name gives another file number. `m_bValid` is false when there is
// nothing to describe (the name is gone, the handle is closed).
struct FileIdentity {
    bool m_bValid = false;
    std::uint64_t m_nDevice = 0;
    std::uint64_t m_nFileNumber = 0;
    std::int64_t m_nSize = 0;
    std::int64_t m_nWriteTime = 0; // nanoseconds (100 ns units on Windows)

    bool SameFile(const FileIdentity& other) const {
        return m_bValid && other.m_bValid && m_nDevice == other.m_nDevice &&
               m_nFileNumber == other.m_nFileNumber;
    }
    bool operator==(const FileIdentity&) const = default;
};
// The identity of the file open through `file`, and of the one `name` leads
// to now (links followed). Neither reads the content.
FileIdentity IdentityOf(FileHandle file);
FileIdentity IdentityOfName(const std::string& name);
// Whether `name` still leads to the file open through `file` (false when the
// name is gone or now names another file).
bool IsFileNamed(FileHandle file, const std::string& name);
// Whether the names `a` and `b` lead to one and the same existing file (links
// followed, hard links included).
bool SameFileOnDisk(const std::string& a, const std::string& b);
// Whether `name` itself (a link in its last part not followed) is a regular
// file; `*exists` tells whether anything at all stands under the name.
bool IsRegularName(const std::string& name, bool* exists);
int SetFileLength(FileHandle file, std::int64_t length);
int SyncFile(FileHandle file);
// Gives `to` the owner, group and permission bits of `from` as far as the
// system lets us, never more access than `from` gave: where the owner cannot be
// kept the set-user-id bit goes, where the group cannot be kept the
// set-group-id bit and the group's rights go. Not being allowed to change the
// owner is not an error; SameOwner tells whether it worked.
int CopyPermissions(FileHandle from, FileHandle to);
// Whether both files have the same owner and group.
bool SameOwner(FileHandle a, FileHandle b);

// An absolute, normalised path ("." and ".." folded); false when it cannot be made.
bool FullPath(const std::string& name, std::string* out);
// The path of the file `name` finally names, links followed; false (and `name`
// unchanged) when it cannot be resolved, e.g. because the file is gone.
bool ResolveLinks(const std::string& name, std::string* out);
// The folder part of a path ("." when there is none).
std::string FolderOf(const std::string& path);
// Whether two full paths name the same file as this system compares names.
bool SameFileName(const std::string& a, const std::string& b);

// Creates a new, empty, uniquely named file `<prefix>XXXXXX.tmp` in `folder`,
// open for reading and writing.
int CreateTempFile(const std::string& folder, const std::string& prefix, std::string* name,
                   FileHandle* out);
int RemoveFile(const std::string& name);
// Puts `from` in the place of `to` in one atomic step and makes it durable.
// Handles open on `from` stay open on the moved file. When the folder cannot be
// opened or synced, the error is returned although the rename is done.
int ReplaceFile(const std::string& from, const std::string& to);
// The same for a file we hold open through `*held`, which afterwards holds the
// file under its new name. Where the system cannot move an open file (Windows)
// the handle is closed for the move and the file opened again with `flags`;
// on failure `*held` holds `from` as before.
int ReplaceHeldFile(FileHandle* held, const std::string& from, const std::string& to,
                    unsigned flags);

// Error codes the layers above test for.
extern const int kShareError;     // another open holds the file (sharing violation)
extern const int kNoSpace;        // the disk is full
extern const int kIoError;        // a hardware I/O error
extern const int kBadArgument;    // an invalid argument, such as a negative seek
extern const int kAccessDenied;   // the system refuses access
extern const int kNotRegularFile; // a pipe, socket or device where a file was expected
extern const int kStreamName;     // a data stream of a file (Windows), which is never opened

// The file-error cause (the numbers of CFileException) for a system error code.
int CauseFromOsError(int code);
// The system's own text for an error code, or empty when it has none.
std::string OsErrorText(int code);

} // namespace platform
