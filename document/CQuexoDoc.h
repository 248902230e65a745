// The document of one open file (or new unnamed buffer). It owns the piece
// file every view reads and edits through; it decides how a file is opened
// (read-write, else read-only, or handed to the text editor) and saved (edits
// committed in place, or the whole content copied to another file that then
// becomes the document's file).
#pragma once

#include "document/ByteRange.h"
#include "framework/CDocument.h"

#include <cstdint>

class CPieceFile64;

class CQuexoDoc : public CDocument {
    Q_OBJECT
public:
    CQuexoDoc();
    ~CQuexoDoc() override;

    void DeleteContents() override;
    bool OnNewDocument() override;
    bool OnOpenDocument(const QString& path) override;
    bool OnSaveDocument(const QString& path) override;

    // The one way edits reach the content (CQuexoDocEdits.cpp). Each applies
    // the edit to the piece table, bumps the revision, marks the document
    // modified and updates every view with kHintContentChanged and a
    // CContentChangeHint of the changed bytes. A refused edit (read-only file,
    // error) throws CFileException before anything is marked. Without a file
    // they do nothing.
    //
    // Overwrites `count` bytes at `offset`; the file's position stays.
    void OverwriteBytes(std::int64_t offset, const void* bytes, std::int64_t count);
    // Inserts `count` bytes of `value` at `offset`.
    void InsertBytes(std::int64_t offset, std::uint32_t count, int value);
    // Removes the bytes of `range`.
    void DeleteBytes(CByteRange range);
    // Puts `count` bytes in place of `range` (of any length); the file's
    // position ends just after the new bytes.
    void ReplaceBytes(CByteRange range, const void* bytes, std::int64_t count);
    // Many edits as one for the views (replace all): while a batch is open,
    // edits still bump the revision and mark the document modified, but the
    // views hear of them once, when the outermost batch closes (also through
    // an exception), in one update covering every changed byte.
    class CEditBatch {
    public:
        explicit CEditBatch(CQuexoDoc& doc);
        ~CEditBatch();
        CEditBatch(const CEditBatch&) = delete;
        CEditBatch& operator=(const CEditBatch&) = delete;

    private:
        CQuexoDoc& m_doc;
    };

    // Changes with every edit and whenever the content is replaced, so caches
    // of bytes read from it know when to read again.
    std::uint64_t GetRevision() const { return m_nRevision; }

    CPieceFile64* m_pFile = nullptr; // owned; replaced by every open and new
    bool m_bReadOnly = true;

protected:
    void OnFileEditAsText();

private:
    // Copies the content to `path` and moves the document onto that file.
    bool SaveToOtherFile(const QString& path);
    void ContentChanged(CByteRange changed, bool lengthChanged);

    std::uint64_t m_nRevision = 0;
    // The open edit batches and what their edits changed so far.
    int m_nBatchDepth = 0;
    bool m_bBatchChanged = false;
    CByteRange m_batchRange;
    bool m_bBatchLengthChanged = false;
};
