// Writing the edits back into the file.
//
// Overwrites alone are patched in place. Anything else is written whole into a
// temporary file beside the original, made durable, and then put in the
// original's place with one atomic rename: until that rename succeeds the
// original is untouched, and on any failure the piece table is left as it was.
#include "storage/CPieceFile64.h"

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

void CPieceFile64::Flush() {
    if (m_bReadOnly)
        return;
    if (m_hSourceFile == platform::kNoFile)
        Raise(CFileException::fileNotFound); // nothing to write back into
    if (CanCommitInPlace())
        CommitInPlace();
    else
        CommitRewrite();
}

bool CPieceFile64::CanCommitInPlace() const {
    if (m_nTotalLength != GetDiskLength())
        return false;
    // Written in place, the edits would go into a file the name no longer
    // reaches (removed or replaced by another program) and be lost with it.
    if (!platform::IsFileNamed(m_hSourceFile, m_strSourcePath))
        return false;
    for (size_t i = 0; i < m_pieces.size(); ++i)
        if (m_pieces[i]->m_bFromFile && m_pieces[i]->m_nFileOffset != m_pieceStarts[i])
            return false;
    return true;
}

void CPieceFile64::CommitInPlace() {
    // The memory pieces cover exactly the bytes no file piece stands for, so a
    // failure part-way leaves the pieces describing the edited content, and the
    // save can be tried again.
    for (size_t i = 0; i < m_pieces.size(); ++i) {
        const CPiece& piece = *m_pieces[i];
        if (piece.m_bFromFile)
            continue;
        const int err =
            WriteAll(m_hSourceFile, m_pieceStarts[i], piece.m_pData.data(), piece.m_nLength);
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

void CPieceFile64::CommitRewrite() {
    if (m_nTotalLength > kRewriteLimit)
        Raise(CFileException::diskFull);

    // Write through a link to the file it names, so the link survives the save.
    std::string target;
    platform::ResolveLinks(m_strSourcePath, &target);
    const std::string folder = platform::FolderOf(target);

    CTempFile temp;
    if (const int err = platform::CreateTempFile(folder, "qxo", &temp.m_name, &temp.m_handle))
        throw CFileException(CFileException::OsErrorToCause(err), err, folder);
    // Lock it as the reopened file will be locked, so no other open can slip in
    // between the rename and our holding the saved file.
    if (const int err = platform::LockFile(temp.m_handle, modeReadWrite | shareDenyWrite))
        RaiseOs(err);

    std::int64_t out = 0;
    std::int64_t handedOver = 0; // bytes of the temporary file already given to the disk
    const auto handOver = [&] {
        if (out - handedOver >= kWriteBackSlice) {
            platform::StartWriteBack(temp.m_handle, handedOver, out - handedOver);
            handedOver = out;
        }
        if (m_saveProgress && m_saveProgress(out, m_nTotalLength))
            throw CSaveCancelled(); // the temporary file goes with `temp`
    };
    for (const CPiece* piece : m_pieces) {
        if (piece->m_bFromFile) {
            for (std::int64_t copied = 0; copied < piece->m_nLength;) {
                const std::int64_t slice = std::min(piece->m_nLength - copied, kWriteBackSlice);
                std::int64_t done = 0;
                if (const int err =
                        platform::CopyRange(m_hSourceFile, piece->m_nFileOffset + copied,
                                            temp.m_handle, out, slice, &done))
                    RaiseOs(err);
                if (done < slice)
                    Raise(CFileException::endOfFile); // the file shrank under us
                copied += slice;
                out += slice;
                handOver();
            }
        } else {
            const int err = WriteAll(temp.m_handle, out, piece->m_pData.data(), piece->m_nLength);
            if (err == -1)
                Raise(CFileException::diskFull);
            if (err != 0)
                RaiseOs(err);
            out += piece->m_nLength;
            handOver();
        }
    }

    if (const int err = platform::CopyPermissions(m_hSourceFile, temp.m_handle))
        RaiseOs(err);
    if (const int err = platform::SyncFile(temp.m_handle))
        RaiseOs(err);
    if (const int err = platform::ReplaceFile(temp.m_name, target))
        RaiseOs(err);

    // The temporary handle now holds the saved file under the original name;
    // the old handle only still reaches the replaced content.
    StartAfresh(temp.m_handle);
    temp.Release();
}

void CPieceFile64::StartAfresh(platform::FileHandle handle) {
    auto piece = std::make_unique<CPiece>(); // the one step that may fail comes first
    piece->m_bFromFile = true;
    piece->m_nLength = m_nTotalLength;
    if (handle != m_hSourceFile) {
        platform::CloseFile(m_hSourceFile); // it reaches replaced content only
        m_hSourceFile = handle;
    }
    m_bReadOnly = false;
    m_nPosition = 0;
    ResetToOnePiece(std::move(piece));
}
