// Writing the edits back into the file.
//
// Overwrites alone are patched in place. Anything else is written whole into a
// temporary file beside the original, made durable, and then put in the
// original's place with one atomic rename: until that rename succeeds the
// original is untouched, and on any failure the piece table is left as it was.
#include "storage/CPieceHistory.h"
#include "storage/CPieceTable.h"
#include "storage/PieceListCheck.h"

#include <algorithm>

namespace {

// Content longer than this is not rewritten through a temporary file; it can
// still be saved under another name.
constexpr std::int64_t kRewriteLimit = 100000000;
// Largest single transfer of memory-piece bytes.
constexpr std::int64_t kTransferSize = 0x40000;
// The temporary file is handed to the disk in slices of this size while it is
// written, so the closing sync finds little left to do.
constexpr std::int64_t kWriteBackSlice = 8 << 20;

// The temporary file of a rewrite, closed and removed unless the rewrite put it
// in the original's place.
class CTempFile {
public:
    CTempFile() = default;
    CTempFile(const CTempFile&) = delete;
    CTempFile& operator=(const CTempFile&) = delete;
    ~CTempFile() {
        if (m_handle != platform::kNoFile)
            platform::CloseFile(m_handle);
        if (!m_name.empty())
            platform::RemoveFile(m_name);
    }
    // The file now stands under the original's name; its handle is the caller's.
    void Release() {
        m_name.clear();
        m_handle = platform::kNoFile;
    }

    std::string m_name;
    platform::FileHandle m_handle = platform::kNoFile;
};

// Writes `count` bytes at `offset`, in transfers of at most kTransferSize.
// Returns the system's error code, or -1 for a short write.
int WriteAll(platform::FileHandle file, std::int64_t offset, const std::uint8_t* data,
             std::int64_t count) {
    while (count > 0) {
        const auto chunk = static_cast<std::uint32_t>(std::min(count, kTransferSize));
        std::uint32_t done = 0;
        if (const int err = platform::WriteAt(file, offset, data, chunk, &done))
            return err;
        if (done < chunk)
            return -1;
        offset += chunk;
        data += chunk;
        count -= chunk;
    }
    return 0;
}

} // namespace

void CPieceTable::Commit() {
    if (m_bReadOnly)
        return;
    if (m_hSourceFile == platform::kNoFile)
        Raise(CFileException::fileNotFound); // nothing to write back into
    CheckSavePath();
    const EditCheck check(m_list);
    // Counted whether it succeeds or not: a failed commit may have written too.
    struct CountWrite {
        std::uint64_t& count;
        ~CountWrite() { ++count; }
    } counted{m_nWriteCount};
    if (CanCommitInPlace())
        CommitInPlace();
    else
        CommitRewrite();
}

void CPieceTable::CheckSavePath() const {
    // Links were resolved at open; one found now was put there since, maybe by
    // someone else to have us write over a file of the user's.
    bool exists = false;
    const bool regular = platform::IsRegularName(m_strSavePath, &exists);
    const std::string& unlinked =
        regular || exists ? m_strSavePath : platform::FolderOf(m_strSavePath);
    std::string resolved;
    if ((exists && !regular) || !platform::ResolveLinks(unlinked, &resolved) ||
        resolved != unlinked)
        Raise(CFileException::nameReplaced);
}

bool CPieceTable::CanCommitInPlace() const {
    if (m_list.m_nLength != GetDiskLength())
        return false;
    // Written in place, the edits would go into a file the name no longer
    // reaches (removed or replaced by another program) and be lost with it.
    if (!platform::IsFileNamed(m_hSourceFile, m_strSavePath))
        return false;
    for (size_t i = 0; i < m_list.m_pieces.size(); ++i)
        if (m_list.m_pieces[i]->m_bFromFile &&
            (m_list.m_pieces[i]->m_nFileOffset != m_list.m_starts[i] ||
             m_list.m_pieces[i]->m_source != m_source))
            return false;
    return true;
}

void CPieceTable::CommitInPlace() {
    // The memory pieces cover exactly the bytes no file piece stands for, so a
    // failure part-way leaves the pieces describing the edited content, and the
    // save can be tried again.
    if (m_history && !m_history->IsEmpty()) {
        // Steps may read the bytes about to be overwritten, the one being
        // recorded too (a long replace saving part-way): the file's current
        // version keeps them first (edit-sized: the memory pieces' ranges).
        for (size_t i = 0; i < m_list.m_pieces.size(); ++i)
            if (!m_list.m_pieces[i]->m_bFromFile)
                if (const int err =
                        m_source->KeepRange(m_list.m_starts[i], m_list.m_pieces[i]->m_nLength))
                    RaiseOs(err);
    }
    for (size_t i = 0; i < m_list.m_pieces.size(); ++i) {
        const CPiece& piece = *m_list.m_pieces[i];
        if (piece.m_bFromFile)
            continue;
        const int err =
            WriteAll(m_hSourceFile, m_list.m_starts[i], piece.m_data.data(), piece.m_nLength);
        if (err == -1)
            Raise(CFileException::diskFull);
        if (err != 0)
            RaiseOs(err);
    }
    if (const int err = platform::SyncFile(m_hSourceFile))
        RaiseOs(err);
    // The handle already holds the saved file, read-write and locked.
    StartAfresh(m_hSourceFile);
}

void CPieceTable::CommitRewrite() {
    if (m_list.m_nLength > kRewriteLimit)
        Raise(CFileException::diskFull);

    // Write the file a link named at open, so the link survives the save.
    const std::string& target = m_strSavePath;
    const std::string folder = platform::FolderOf(target);

    CTempFile temp;
    if (const int err = platform::CreateTempFile(folder, "qxo", &temp.m_name, &temp.m_handle))
        throw CFileException(CFileException::OsErrorToCause(err), err, folder);
    // Lock it as the reopened file will be locked, so no other open can slip in
    // between the rename and our holding the saved file.
    if (const int err =
            platform::LockFile(temp.m_handle, platform::modeReadWrite | platform::shareDenyWrite))
        RaiseOs(err);
    // A rewrite that would hand the file to us (or to our group) would change
    // who may read and write it: refused before anything is written.
    if (const int err = platform::CopyPermissions(m_hSourceFile, temp.m_handle))
        RaiseOs(err);
    if (!platform::SameOwner(m_hSourceFile, temp.m_handle))
        Raise(CFileException::ownerNotKept);

    std::int64_t out = 0;
    std::int64_t handedOver = 0; // bytes of the temporary file already given to the disk
    const auto handOver = [&] {
        if (out - handedOver >= kWriteBackSlice) {
            platform::StartWriteBack(temp.m_handle, handedOver, out - handedOver);
            handedOver = out;
        }
        if (m_saveProgress && m_saveProgress(out, m_list.m_nLength))
            throw CSaveCancelled(); // the temporary file goes with `temp`
    };
    for (const CPiece* piece : m_list.m_pieces) {
        if (piece->m_bFromFile && !piece->m_source->IsFileAsIs()) {
            // A version an undo went back to, partly overwritten since.
            CopyKeptVersion(*piece, temp.m_handle, out);
            out += piece->m_nLength;
            handOver();
        } else if (piece->m_bFromFile) {
            for (std::int64_t copied = 0; copied < piece->m_nLength;) {
                const std::int64_t slice = std::min(piece->m_nLength - copied, kWriteBackSlice);
                std::int64_t done = 0;
                if (const int err = platform::CopyRange(piece->m_source->Handle(),
                                                        piece->m_nFileOffset + copied,
                                                        temp.m_handle, out, slice, &done))
                    RaiseOs(err);
                if (done < slice)
                    Raise(CFileException::endOfFile); // the file shrank under us
                copied += slice;
                out += slice;
                handOver();
            }
        } else {
            const int err = WriteAll(temp.m_handle, out, piece->m_data.data(), piece->m_nLength);
            if (err == -1)
                Raise(CFileException::diskFull);
            if (err != 0)
                RaiseOs(err);
            out += piece->m_nLength;
            handOver();
        }
    }

    // Again, as writing may have cleared the set-id bits.
    if (const int err = platform::CopyPermissions(m_hSourceFile, temp.m_handle))
        RaiseOs(err);
    if (const int err = platform::SyncFile(temp.m_handle))
        RaiseOs(err);
    if (const int err =
            platform::ReplaceHeldFile(&temp.m_handle, temp.m_name, target,
                                      platform::modeReadWrite | platform::shareDenyWrite))
        RaiseOs(err);

    // The temporary handle now holds the saved file under the original name;
    // the old handle only still reaches the replaced content. StartAfresh owns
    // it from here on, also when it throws, so it leaves `temp` first.
    const platform::FileHandle saved = temp.m_handle;
    temp.Release();
    StartAfresh(saved);
}

void CPieceTable::CopyKeptVersion(const CPiece& piece, platform::FileHandle to,
                                  std::int64_t toOffset) {
    std::vector<std::uint8_t> buffer(
        static_cast<size_t>(std::min<std::int64_t>(piece.m_nLength, kTransferSize)));
    for (std::int64_t copied = 0; copied < piece.m_nLength;) {
        const std::int64_t n = std::min<std::int64_t>(piece.m_nLength - copied,
                                                      static_cast<std::int64_t>(buffer.size()));
        if (ReadFileRange(*piece.m_source, piece.m_nFileOffset + copied, buffer.data(), n) < n)
            Raise(CFileException::endOfFile); // the file shrank under us
        const int err = WriteAll(to, toOffset + copied, buffer.data(), n);
        if (err == -1)
            Raise(CFileException::diskFull);
        if (err != 0)
            RaiseOs(err);
        copied += n;
    }
}

void CPieceTable::StartAfresh(platform::FileHandle handle) {
    // The steps that may fail come first. Saved in place, the file's version
    // changes under the same handle; rewritten, the old version keeps the
    // replaced file open for as long as pieces kept for undo read it.
    // A new handle is adopted first: from then on `source` closes it, once,
    // whatever fails after.
    std::shared_ptr<CSourceFile> source;
    const bool rewritten = handle != m_hSourceFile;
    if (rewritten)
        source = CSourceFile::Adopt(handle);
    else if (m_history)
        source = m_source->MakeNewer();
    else
        source = m_source;
    auto piece = std::make_unique<CPiece>();
    std::vector<CPiece*> replaced;
    replaced.reserve(1);
    piece->m_bFromFile = true;
    piece->m_nLength = m_list.m_nLength;
    piece->m_source = source;
    replaced.push_back(piece.release());
    std::swap(replaced, m_list.m_pieces);
    m_list.m_starts.assign(1, 0);
    m_source = std::move(source);
    m_hSourceFile = handle;
    m_bReadOnly = false;
    m_nSavedState = GetStateId();
    KeepSavedOverList(std::move(replaced)); // may mark the step being recorded
    if (rewritten)
        BoundReplacedFiles();
}
