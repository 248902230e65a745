// Shared set-up of the editing command tests: a document on its own piece
// table, shown by the program's own view.
#pragma once

#include "HexGridTestSupport.h"

#include "commands/ViewCommands.h"
#include "display/CHexGridWnd.h"
#include "display/CQuexoView.h"
#include "document/CQuexoDoc.h"
#include "storage/CPieceFile64.h"

#include <QString>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace edittest {

// A shown view of `doc` with its editing commands, 16 bytes a row.
inline std::unique_ptr<CQuexoView> ShowView(CQuexoDoc& doc) {
    auto view = std::make_unique<CQuexoView>();
    ViewCommands::AttachTo(*view);
    view->resize(640, 240);
    doc.AddView(view.get());
    view->OnInitialUpdate();
    view->GetGrid().SetFixedColumns(16);
    view->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
    return view;
}

// A document and its shown view. The document outlives the view.
struct EditDoc {
    std::unique_ptr<CQuexoDoc> m_pDoc;
    std::unique_ptr<CQuexoView> m_pView;

    CQuexoDoc& Doc() const { return *m_pDoc; }
    CQuexoView& View() const { return *m_pView; }
    CHexGridWnd& Grid() const { return m_pView->GetGrid(); }
    CPieceFile64& File() const { return *m_pDoc->GetPieceFile(); }

    // The whole content, read without moving the file's position.
    std::vector<unsigned char> Bytes() const {
        std::vector<unsigned char> bytes(static_cast<size_t>(File().GetLength()));
        File().ReadAt(0, bytes.data(), File().GetLength());
        return bytes;
    }

    // Caret at `caret` with the selection reaching back to `anchor`.
    void Select(std::int64_t anchor, std::int64_t caret) const { View().SetPlace({caret, anchor}); }
};

// Shows a view of `doc`'s content.
inline EditDoc Attach(std::unique_ptr<CQuexoDoc> doc) {
    EditDoc edit;
    edit.m_pDoc = std::move(doc);
    edit.m_pDoc->m_bAutoDelete = false;
    edit.m_pView = ShowView(*edit.m_pDoc);
    return edit;
}

// A new document holding `bytes`.
inline EditDoc NewDoc(const std::vector<unsigned char>& bytes) {
    auto doc = std::make_unique<CQuexoDoc>();
    EXPECT_TRUE(doc->OnNewDocument());
    gridtest::Fill(*doc->GetPieceFile(), bytes);
    return Attach(std::move(doc));
}

// A document on the file at `path`, opened with the piece table's `flags`
// (0x22 read-write, 0x20 read-only).
inline EditDoc OpenDoc(const std::string& path, unsigned flags) {
    auto doc = std::make_unique<CQuexoDoc>();
    doc->AttachFile(std::make_unique<CPieceFile64>());
    EXPECT_TRUE(doc->GetPieceFile()->Open(path.c_str(), flags));
    doc->m_bReadOnly = (flags & 0x3) == 0;
    return Attach(std::move(doc));
}

inline std::vector<unsigned char> Bytes(std::initializer_list<int> values) {
    std::vector<unsigned char> bytes;
    for (int v : values)
        bytes.push_back(static_cast<unsigned char>(v));
    return bytes;
}

} // namespace edittest
