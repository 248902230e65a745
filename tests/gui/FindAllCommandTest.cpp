// "Rechercher tout" on a shown view: the dialog, the panel's count and rows,
// a row clicked selecting its occurrence, the highlighted cells, copying
// offsets, what an edit does to the list, and a cancelled search.
#include "EditCommandsTestSupport.h"
#include "ProgressTestSupport.h"

#include "commands/CFindAllDlg.h"
#include "commands/CFindAllPanel.h"
#include "display/ViewCommandIds.h"
#include "framework/DialogScript.h"
#include "framework/PromptScript.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <fstream>

using edittest::EditDoc;
using edittest::NewDoc;

namespace {

std::vector<unsigned char> Text(const std::string& text) {
    return {text.begin(), text.end()};
}

// Types `text` into the dialog's text field, sets case and scope, and clicks OK.
DialogRunner::ModalHandler FindAllDialog(const QString& text, bool matchCase, int scope = 0) {
    return [=](QDialog& dialog) {
        auto* findAll = qobject_cast<CFindAllDlg*>(&dialog);
        EXPECT_NE(findAll, nullptr);
        if (!findAll)
            return int(QDialog::Rejected);
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        findAll->TextEdit()->selectAll();
        QTest::keyClicks(findAll->TextEdit(), text);
        if (matchCase != findAll->MatchCaseBox()->isChecked())
            QTest::mouseClick(findAll->MatchCaseBox(), Qt::LeftButton);
        QRadioButton* scopeButton = findAll->ScopeButton(scope);
        QTest::mouseClick(scopeButton, Qt::LeftButton, {}, QPoint(4, scopeButton->height() / 2));
        QPushButton* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        QTest::mouseClick(ok, Qt::LeftButton);
        return dialog.result();
    };
}

CFindAllPanel& RunFindAll(EditDoc& doc, DialogScript& dialogs, const QString& text,
                          bool matchCase = false, int scope = 0) {
    dialogs.Then(FindAllDialog(text, matchCase, scope));
    EXPECT_TRUE(doc.View().OnCmdMsg(ID_EDIT_FINDALL));
    auto* panel = qobject_cast<CFindAllPanel*>(doc.View().GetBottomPanel());
    EXPECT_NE(panel, nullptr);
    return *panel;
}

void ClickRow(CFindAllPanel& panel, int row) {
    QListView* list = panel.List();
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

// The background of a byte's hex cell as painted.
QColor HexCellColor(CHexGridWnd& grid, std::int64_t offset) {
    const QImage image = grid.viewport()->grab().toImage();
    const CCellPoint at = grid.CellToPoint(offset, true, 0);
    return image.pixelColor(at.x, at.y + 1);
}

std::pair<std::int64_t, std::int64_t> Selection(EditDoc& doc) {
    return {doc.Grid().GetAnchor(), doc.Grid().GetCaret()};
}

} // namespace

TEST(FindAllCommand, ListsCountsSelectsAndHighlights) {
    DialogScript dialogs;
    EditDoc doc = NewDoc(Text("xxABxxabxxAbxxxxxxxxxAAAAx"));
    CFindAllPanel& panel = RunFindAll(doc, dialogs, QStringLiteral("ab"));
    ASSERT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.CountLabel()->text(), QStringLiteral("3 occurrences"));
    EXPECT_EQ(panel.List()->model()->rowCount(), 3);
    EXPECT_EQ(panel.List()->model()->index(1, 0).data().toString(),
              QStringLiteral("0x00000006   41 42 78 78 [61 62] 78 78 41 62   ABxxabxxAb"));
    EXPECT_LT(doc.Grid().height(), doc.View().height()); // the panel sits under the grid

    ClickRow(panel, 1);
    EXPECT_EQ(Selection(doc), std::make_pair(std::int64_t{6}, std::int64_t{8}));

    // Every occurrence is painted apart from the bytes around it; the one
    // selected shows the selection.
    QTest::qWait(0);
    EXPECT_EQ(HexCellColor(doc.Grid(), 2), CHexGridWnd::MatchColor());
    EXPECT_EQ(HexCellColor(doc.Grid(), 11), CHexGridWnd::MatchColor());
    EXPECT_NE(HexCellColor(doc.Grid(), 6), CHexGridWnd::MatchColor());
    EXPECT_NE(HexCellColor(doc.Grid(), 4), CHexGridWnd::MatchColor());
    QTest::mouseClick(panel.HighlightBox(), Qt::LeftButton);
    EXPECT_NE(HexCellColor(doc.Grid(), 2), CHexGridWnd::MatchColor());

    // Overlapping occurrences count, with case matched; a selection as scope.
    CFindAllPanel& again = RunFindAll(doc, dialogs, QStringLiteral("AA"), true);
    EXPECT_EQ(again.CountLabel()->text(), QStringLiteral("3 occurrences"));
    EXPECT_FALSE(again.IsHighlighting()); // the toggle stays as the user left it
    doc.Select(0, 11);
    RunFindAll(doc, dialogs, QStringLiteral("ab"), false, 1);
    EXPECT_EQ(panel.CountLabel()->text(), QStringLiteral("2 occurrences"));
    EXPECT_EQ(dialogs.Unexpected(), 0);

    // Closing the panel gives the grid its room back and ends the highlighting.
    QTest::mouseClick(panel.CloseButton(), Qt::LeftButton);
    EXPECT_FALSE(panel.isVisible());
    EXPECT_EQ(doc.Grid().height(), doc.View().height());
    EXPECT_EQ(doc.View().focusWidget(), &doc.Grid()) << "typing goes to the bytes again";
    EXPECT_TRUE(doc.Grid().GetMatchHighlight().empty());
}

TEST(FindAllCommand, CopiesTheOffsetsOfTheSelectedRows) {
    DialogScript dialogs;
    EditDoc doc = NewDoc(Text("ab..ab..ab"));
    CFindAllPanel& panel = RunFindAll(doc, dialogs, QStringLiteral("ab"));
    panel.List()->setFocus();
    QTest::keyClick(panel.List(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(panel.List(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("0x00000000\n0x00000004\n0x00000008\n"));
}

TEST(FindAllCommand, AnEditMakesTheListOutOfDateUntilSearchedAgain) {
    DialogScript dialogs;
    EditDoc doc = NewDoc(Text("..ab..ab.."));
    CFindAllPanel& panel = RunFindAll(doc, dialogs, QStringLiteral("ab"));
    EXPECT_FALSE(panel.Banner()->isVisible());

    // A byte typed in front moves every occurrence one place on.
    doc.Doc().InsertBytes(0, 1, '.');
    EXPECT_TRUE(panel.Banner()->isVisible());
    doc.Select(0, 0);
    ClickRow(panel, 0);
    EXPECT_EQ(Selection(doc), std::make_pair(std::int64_t{0}, std::int64_t{0})); // no jump

    QTest::mouseClick(panel.SearchAgainButton(), Qt::LeftButton);
    EXPECT_FALSE(panel.Banner()->isVisible());
    ClickRow(panel, 0);
    EXPECT_EQ(Selection(doc), std::make_pair(std::int64_t{3}, std::int64_t{5}));
}

TEST(FindAllCommand, AnotherFileUnderTheDocumentIsReadNeverTheOldOne) {
    PromptScript prompts;
    DialogScript dialogs;
    EditDoc doc = NewDoc(Text("..ab..ab.."));
    CFindAllPanel& panel = RunFindAll(doc, dialogs, QStringLiteral("ab"));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("other.bin"));
    const char binary[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}; // not a text file: no hand-off
    std::ofstream(path.toStdString(), std::ios::binary).write(binary, sizeof binary);
    // The document drops its file for the new one; the rows must follow.
    ASSERT_TRUE(doc.Doc().OnOpenDocument(path));
    doc.Doc().UpdateAllViews(nullptr, kHintAll);
    EXPECT_TRUE(panel.Banner()->isVisible());
    EXPECT_EQ(panel.List()->model()->index(0, 0).data().toString(),
              QStringLiteral("0x00000002   00 01 [02 03] 04 05 06 07   ........"));
}

TEST(FindAllCommand, CancelledSearchKeepsWhatItFoundMarkedIncomplete) {
    DialogScript dialogs;
    EditDoc doc = NewDoc(std::vector<unsigned char>(4 << 20, 'z'));
    const CancelOnShow cancel(CancelBy::Button);
    CFindAllPanel& panel = RunFindAll(doc, dialogs, QStringLiteral("z"));
    EXPECT_TRUE(cancel.Sent());
    const CFindAllResults& results = panel.Results();
    EXPECT_FALSE(results.m_bComplete);
    EXPECT_GT(results.m_nCount, 0);
    EXPECT_LT(results.m_nCount, 4 << 20);
    EXPECT_TRUE(panel.CountLabel()->text().contains(QStringLiteral("interrompue")));
}
