// Two views of one document: an edit repaints in each only the rows it
// changed, and moves each view's caret and selection with the bytes.
#include "EditCommandsTestSupport.h"

#include <QApplication>

using edittest::ShowView;

namespace {

constexpr int kBytesPerRow = 16;

// Rows each grid formats once the pending paints are done.
struct RowCounts {
    std::int64_t first = 0;
    std::int64_t second = 0;
};

class ViewRepaintTest : public testing::Test {
protected:
    void SetUp() override {
        // A steady caret: no blink repaints in the counts.
        m_nFlash = QApplication::cursorFlashTime();
        QApplication::setCursorFlashTime(0);
        m_doc = edittest::NewDoc(gridtest::Pattern(4096));
        m_pSecond = ShowView(m_doc.Doc());
        // The second view starts two rows further down.
        Second().ScrollTo(2 * kBytesPerRow);
        First().setFocus();
        Settle();
    }
    void TearDown() override {
        m_doc.Doc().RemoveView(m_pSecond.get());
        QApplication::setCursorFlashTime(m_nFlash);
    }

    CHexGridWnd& First() { return m_doc.Grid(); }
    CHexGridWnd& Second() { return m_pSecond->GetGrid(); }
    int Rows() { return First().Layout().m_nRowsPerPage; }

    void Settle() {
        QCoreApplication::processEvents();
        First().ResetRowsFormatted();
        Second().ResetRowsFormatted();
    }
    RowCounts Painted() {
        QCoreApplication::processEvents();
        RowCounts counts{First().RowsFormatted(), Second().RowsFormatted()};
        First().ResetRowsFormatted();
        Second().ResetRowsFormatted();
        return counts;
    }

    int m_nFlash = 0;
    edittest::EditDoc m_doc;
    std::unique_ptr<CQuexoView> m_pSecond;
};

} // namespace

TEST_F(ViewRepaintTest, TypingRepaintsTheTypedRowInEachView) {
    ASSERT_EQ(First().Layout().m_nBytesPerRow, kBytesPerRow);
    ASSERT_EQ(Second().Layout().m_nBytesPerRow, kBytesPerRow);
    ASSERT_GT(Rows(), 8);
    m_doc.Select(5 * kBytesPerRow + 3, 5 * kBytesPerRow + 3);
    Second().SetCaret(9 * kBytesPerRow, false);
    Settle();

    for (const char* key : {"a", "b"}) { // both digits of byte 83
        SCOPED_TRACE(key);
        QTest::keyClicks(&First(), key);
        const RowCounts rows = Painted();
        EXPECT_EQ(rows.first, 1);
        EXPECT_EQ(rows.second, 1);
    }
    EXPECT_EQ(m_doc.Bytes()[5 * kBytesPerRow + 3], 0xAB);
    EXPECT_EQ(First().GetCaret(), 5 * kBytesPerRow + 4);
    EXPECT_EQ(Second().GetCaret(), 9 * kBytesPerRow) << "an overwrite moves no other caret";
    EXPECT_EQ(Second().GetLength(), 4096);
}

TEST_F(ViewRepaintTest, InsertAndDeleteRepaintFromTheirRowDown) {
    struct Row {
        const char* what;
        CContentChange change;
        // Rows repainted, counted from the bottom of each window.
        int firstRows;
        int secondRows;
    };
    const int rows = Rows();
    // The first view shows rows 0 ... rows - 1, the second rows 2 ... rows + 1.
    const Row table[] = {
        {"insert in row 5", {5 * kBytesPerRow + 3, 0, 4}, rows - 5, rows - 3},
        {"delete in row 1 (above the second view)", {kBytesPerRow + 2, 3, 0}, rows - 1, rows},
        {"insert below both windows", {3000, 0, 16}, 0, 0},
        {"overwrite below both windows", {3000, 2, 2}, 0, 0},
        {"replace in row 4 by more bytes", {4 * kBytesPerRow, 1, 5}, rows - 4, rows - 2},
    };
    for (const Row& row : table) {
        SCOPED_TRACE(row.what);
        const std::int64_t length = m_doc.File().GetLength();
        const std::vector<unsigned char> bytes(static_cast<size_t>(row.change.m_nInserted), 0x5A);
        m_doc.Doc().ReplaceBytes({row.change.m_nOffset, row.change.m_nRemoved}, bytes.data(),
                                 row.change.m_nInserted);
        const RowCounts painted = Painted();
        EXPECT_EQ(painted.first, row.firstRows);
        EXPECT_EQ(painted.second, row.secondRows);
        EXPECT_EQ(Second().GetLength(), length + row.change.Delta());
    }
}

TEST_F(ViewRepaintTest, OtherViewsCaretAndSelectionMoveWithTheirBytes) {
    Second().SetCaret(200, false);
    Second().SetAnchor(180);
    Settle();
    m_doc.Doc().InsertBytes(100, 10, 0);
    EXPECT_EQ(Second().GetCaret(), 210);
    EXPECT_EQ(Second().GetAnchor(), 190);

    m_doc.Doc().DeleteBytes({185, 30});
    EXPECT_EQ(Second().GetCaret(), 185) << "a caret in removed bytes stays at their start";
    EXPECT_EQ(Second().GetAnchor(), 185);

    m_doc.Doc().InsertBytes(1000, 10, 0);
    EXPECT_EQ(Second().GetCaret(), 185) << "changes after the caret leave it";
}
