// Shared set-up of the editing command tests: a document on its own piece
// table, shown by a small view whose grid re-attaches the file on every
// update, as the program's view does.
#pragma once

#include "HexGridTestSupport.h"

#include "display/CHexGridWnd.h"
#include "document/CQuexoDoc.h"
#include "framework/CView.h"
#include "storage/CPieceFile64.h"

#include <QString>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace edittest {

class GridView : public CView {
public:
    GridView() : m_pGrid(new CHexGridWnd(this)) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_pGrid);
        m_pGrid->SetFixedColumns(16);
        resize(640, 240);
    }

    void OnUpdate(CView*, long, QObject*) override {
        const auto* doc = static_cast<CQuexoDoc*>(GetDocument());
        m_pGrid->SetFile(doc ? doc->m_pFile : nullptr, doc ? doc->m_bReadOnly : true);
        m_pGrid->viewport()->update();
    }

    CHexGridWnd* m_pGrid;
};

// A document and its shown view. The document outlives the view.
struct EditDoc {
    std::unique_ptr<CQuexoDoc> m_pDoc;
    std::unique_ptr<GridView> m_pView;

    CQuexoDoc& Doc() const { return *m_pDoc; }
    CHexGridWnd& Grid() const { return *m_pView->m_pGrid; }
    CPieceFile64& File() const { return *m_pDoc->m_pFile; }

    // The whole content.
    std::vector<unsigned char> Bytes() const {
        std::vector<unsigned char> bytes(static_cast<size_t>(File().GetLength()));
        File().Seek(0, CFile64::begin);
        if (!bytes.empty())
            File().Read(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
        return bytes;
    }

    // Caret at `caret` with the selection reaching back to `anchor`.
    void Select(std::int64_t anchor, std::int64_t caret) const {
        Grid().SetCaret(caret, true);
        Grid().SetAnchor(anchor);
    }
};

// Shows a view of `doc`'s content.
inline EditDoc Attach(std::unique_ptr<CQuexoDoc> doc) {
    EditDoc edit;
    edit.m_pDoc = std::move(doc);
    edit.m_pDoc->m_bAutoDelete = false;
    edit.m_pView = std::make_unique<GridView>();
    edit.m_pDoc->AddView(edit.m_pView.get());
    edit.m_pView->OnInitialUpdate();
    edit.m_pView->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(edit.m_pView.get()));
    return edit;
}

// A new document holding `bytes`.
inline EditDoc NewDoc(const std::vector<unsigned char>& bytes) {
    auto doc = std::make_unique<CQuexoDoc>();
    EXPECT_TRUE(doc->OnNewDocument());
    gridtest::Fill(*doc->m_pFile, bytes);
    return Attach(std::move(doc));
}

// A document on the file at `path`, opened with the piece table's `flags`
// (0x22 read-write, 0x20 read-only).
inline EditDoc OpenDoc(const std::string& path, unsigned flags) {
    auto doc = std::make_unique<CQuexoDoc>();
    doc->m_pFile = new CPieceFile64;
    EXPECT_TRUE(doc->m_pFile->Open(path.c_str(), flags));
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
