// The document of one open file (or new unnamed buffer). It owns the piece
// file every view reads and edits through; it decides how a file is opened
// (read-write, else read-only, or handed to the text editor) and saved (edits
// committed in place, or the whole content copied to another file that then
// becomes the document's file).
#pragma once

#include "framework/CDocument.h"

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

    CPieceFile64* m_pFile = nullptr; // owned; replaced by every open and new
    bool m_bReadOnly = true;

protected:
    void OnFileEditAsText();

private:
    // Copies the content to `path` and moves the document onto that file.
    bool SaveToOtherFile(const QString& path);
};
