// The view's Options and Font commands in a running program: the dialog's
// fixed-columns rule, refused counts, settings reaching this view at once and
// later views, the per-view character set, and a chosen font surviving a
// restart through the profile.
#include "FrameTestSupport.h"

#include "display/COptionsDlg.h"
#include "display/DisplayGlobals.h"
#include "display/ViewCommandIds.h"
#include "framework/DialogScript.h"
#include "framework/StdCommandIds.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

namespace {

// The display globals are process-wide: each test leaves them as it found them.
class OptionsTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        m_saved = CurrentDisplaySettings(CTextHandOff::Current().m_nOpenTextMode);
    }
    void TearDown() override {
        ApplyDisplaySettings(m_saved);
        CTextHandOff::Current().m_nOpenTextMode = m_saved.openTextMode;
        FrameTest::TearDown();
    }

    CQuexoView* OpenView(const QString& name = QStringLiteral("data.bin")) {
        QByteArray bytes;
        for (int i = 0; i < 4096; ++i)
            bytes.append(char(i));
        EXPECT_NE(Open(bytes, name), nullptr);
        return ActiveView();
    }

    DisplaySettings m_saved;
};

COptionsDlg* Options(QDialog& dialog) {
    auto* options = qobject_cast<COptionsDlg*>(&dialog);
    EXPECT_NE(options, nullptr);
    return options;
}

// A dialog step that ticks the buttons `ids` and presses OK.
DialogRunner::ModalHandler Tick(std::initializer_list<int> ids) {
    return [ids = std::vector<int>(ids)](QDialog& dialog) {
        COptionsDlg* options = Options(dialog);
        if (!options)
            return int(QDialog::Rejected);
        for (int id : ids)
            options->Button(id)->click();
        options->OkButton()->click();
        return options->result();
    };
}

} // namespace

TEST_F(OptionsTest, FixedColumnsCheckBoxPutsOneOrZeroIntoTheCount) {
    Start();
    EXPECT_FALSE(Action(ID_VIEW_OPTIONS)->isEnabled()) << "no view to run it";
    EXPECT_FALSE(Action(ID_VIEW_FONT)->isEnabled());
    CQuexoView* view = OpenView();
    ASSERT_NE(view, nullptr);
    Idle();
    EXPECT_TRUE(Action(ID_VIEW_OPTIONS)->isEnabled());
    EXPECT_TRUE(Action(ID_VIEW_FONT)->isEnabled());

    DialogScript dialogs;
    dialogs.Then([](QDialog& dialog) {
        COptionsDlg* options = Options(dialog);
        if (!options)
            return int(QDialog::Rejected);
        QAbstractButton* fixed = options->Button(COptionsDlg::IDC_FIXED_COLUMNS);
        QLineEdit* count = options->ColumnsEdit();
        // No fixed columns: cleared, disabled, showing 0; the rest from the settings.
        EXPECT_FALSE(fixed->isChecked());
        EXPECT_FALSE(count->isEnabled());
        EXPECT_EQ(count->text(), QStringLiteral("0"));
        EXPECT_TRUE(options->Button(COptionsDlg::IDC_HEX)->isChecked());
        EXPECT_TRUE(options->Button(COptionsDlg::IDC_ASCII)->isChecked());
        EXPECT_FALSE(options->Button(COptionsDlg::IDC_SHOW_UPPER)->isChecked());
        EXPECT_TRUE(options->Button(COptionsDlg::IDC_OPEN_AS_BINARY)->isChecked());
        EXPECT_TRUE(options->OkButton()->isDefault());

        options->show();
        fixed->click();
        EXPECT_TRUE(count->isEnabled());
        EXPECT_EQ(count->text(), QStringLiteral("1"));
        EXPECT_EQ(options->focusWidget(), count);
        count->setText(QStringLiteral("40"));
        fixed->click();
        EXPECT_FALSE(count->isEnabled());
        EXPECT_EQ(count->text(), QStringLiteral("0"));
        fixed->click();
        EXPECT_EQ(count->text(), QStringLiteral("1")) << "whatever was there before";
        count->setText(QStringLiteral("24"));
        options->OkButton()->click();
        return options->result();
    });
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_OPTIONS));
    EXPECT_EQ(g_nFixedColumns, 24);
    EXPECT_EQ(view->GetGrid().m_nBytesPerRow, 24);

    // The next opening shows the count; clearing the box gives 0 columns.
    dialogs.Then([](QDialog& dialog) {
        COptionsDlg* options = Options(dialog);
        if (!options)
            return int(QDialog::Rejected);
        EXPECT_TRUE(options->Button(COptionsDlg::IDC_FIXED_COLUMNS)->isChecked());
        EXPECT_TRUE(options->ColumnsEdit()->isEnabled());
        EXPECT_EQ(options->ColumnsEdit()->text(), QStringLiteral("24"));
        options->Button(COptionsDlg::IDC_FIXED_COLUMNS)->click();
        options->accept();
        return options->result();
    });
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_OPTIONS));
    EXPECT_EQ(g_nFixedColumns, 0);
    EXPECT_EQ(dialogs.Unexpected(), 0);
}

TEST_F(OptionsTest, ACountThatIsNotOneOrTooLargeKeepsTheDialogOpen) {
    Start();
    CQuexoView* view = OpenView();
    ASSERT_NE(view, nullptr);
    PromptScript prompts;
    DialogScript dialogs;
    std::vector<bool> stayedOpen;
    dialogs.Then([&](QDialog& dialog) {
        COptionsDlg* options = Options(dialog);
        if (!options)
            return int(QDialog::Rejected);
        options->show();
        options->Button(COptionsDlg::IDC_FIXED_COLUMNS)->click();
        options->Button(COptionsDlg::IDC_DECIMAL)->click();
        for (const char* text : {"abc", "-3", "", "253", "100000"}) {
            options->ColumnsEdit()->setText(QString::fromLatin1(text));
            options->OkButton()->click();
            stayedOpen.push_back(options->result() != QDialog::Accepted &&
                                 options->focusWidget() == options->ColumnsEdit());
        }
        options->ColumnsEdit()->setText(QStringLiteral("252"));
        options->OkButton()->click();
        return options->result();
    });
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_OPTIONS));
    EXPECT_EQ(stayedOpen, std::vector<bool>(5, true));
    ASSERT_EQ(prompts.Count(), 5);
    for (int i : {0, 1, 2})
        EXPECT_EQ(prompts.Shown()[i].m_strText,
                  QStringLiteral("SVP entrer un nombre entier positif."));
    EXPECT_TRUE(prompts.Shown()[3].m_strText.contains(QStringLiteral("252")));
    EXPECT_EQ(g_nFixedColumns, 252);
    EXPECT_EQ(g_bHexAddress, 0);
    EXPECT_EQ(view->GetGrid().m_nBytesPerRow, 252);

    // Cancel changes nothing, whatever was ticked.
    dialogs.Then([](QDialog& dialog) {
        Options(dialog)->Button(COptionsDlg::IDC_HEX)->click();
        Options(dialog)->Button(COptionsDlg::IDC_EBCDIC)->click();
        Options(dialog)->CancelButton()->click();
        return dialog.result();
    });
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_OPTIONS));
    EXPECT_EQ(g_bHexAddress, 0);
    EXPECT_EQ(view->GetGrid().m_nCharSet, kCharSetAscii);
}

TEST_F(OptionsTest, SettingsReachThisViewAtOnceAndLaterViewsButNotOtherOpenOnes) {
    Start();
    CQuexoView* other = OpenView(QStringLiteral("other.bin"));
    CQuexoView* view = OpenView();
    ASSERT_NE(other, nullptr);
    ASSERT_NE(view, nullptr);
    ASSERT_NE(view, other);
    DialogScript dialogs;
    dialogs.Then(Tick(
        {COptionsDlg::IDC_DECIMAL, COptionsDlg::IDC_SHOW_UPPER, COptionsDlg::IDC_OPEN_AS_TEXT}));
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_OPTIONS));
    EXPECT_FALSE(view->GetGrid().m_bHexAddress);
    EXPECT_TRUE(view->GetGrid().m_bShowUpper);
    EXPECT_EQ(g_bHexAddress, 0);
    EXPECT_EQ(g_bUpperChars, 1);
    EXPECT_EQ(CTextHandOff::Current().m_nOpenTextMode, 0);
    EXPECT_TRUE(other->GetGrid().m_bHexAddress) << "an open view waits for its next update";

    CTextHandOff::Current().m_nOpenTextMode = 1; // the test file opens in hex
    CQuexoView* later = OpenView(QStringLiteral("later.bin"));
    ASSERT_NE(later, nullptr);
    EXPECT_FALSE(later->GetGrid().m_bHexAddress);
    EXPECT_TRUE(later->GetGrid().m_bShowUpper);

    other->OnUpdate(nullptr, CQuexoView::kHintSettings, nullptr);
    EXPECT_FALSE(other->GetGrid().m_bHexAddress);
}

TEST_F(OptionsTest, CharacterSetBelongsToTheView) {
    Start();
    CQuexoView* first = OpenView();
    ASSERT_NE(first, nullptr);
    ASSERT_TRUE(m_app->ExecuteCommand(ID_WINDOW_NEW));
    Idle();
    CQuexoView* second = ActiveView();
    ASSERT_NE(second, first);

    DialogScript dialogs;
    dialogs.Then(Tick({COptionsDlg::IDC_EBCDIC}));
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_OPTIONS));
    EXPECT_EQ(second->GetGrid().m_nCharSet, kCharSetEbcdic);
    EXPECT_EQ(first->GetGrid().m_nCharSet, kCharSetAscii);
    // Even a settings update of the other view leaves it in ASCII.
    first->GetDocument()->UpdateAllViews(nullptr, 0);
    EXPECT_EQ(first->GetGrid().m_nCharSet, kCharSetAscii);
    EXPECT_EQ(second->GetGrid().m_nCharSet, kCharSetEbcdic);

    // The dialog shows the view's own set.
    int shown = -1;
    dialogs.Then([&shown](QDialog& dialog) {
        shown = Options(dialog)->Button(COptionsDlg::IDC_EBCDIC)->isChecked() ? 1 : 0;
        return int(QDialog::Rejected);
    });
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_OPTIONS));
    EXPECT_EQ(shown, 1);
}

TEST_F(OptionsTest, ChosenFontChangesTheCellAndSurvivesARestart) {
    Start();
    CQuexoView* view = OpenView();
    ASSERT_NE(view, nullptr);
    CHexGridWnd& grid = view->GetGrid();
    const int cellHeight = grid.m_nCharHeight;
    const int bytesPerRow = grid.m_nBytesPerRow;
    g_displayFont.lfHeight = 0; // no height stored: the dialog starts from the grid's font

    DialogScript dialogs;
    QFont offered;
    bool monospacedOnly = false;
    dialogs.Then([&](QDialog& dialog) {
        auto* fonts = qobject_cast<QFontDialog*>(&dialog);
        EXPECT_NE(fonts, nullptr);
        if (!fonts)
            return int(QDialog::Rejected);
        // The face list offers fixed-pitch faces only.
        monospacedOnly = fonts->testOption(QFontDialog::MonospacedFonts);
        for (QListView* list : fonts->findChildren<QListView*>()) {
            const QAbstractItemModel* model = list->model();
            const QString first = model->rowCount() ? model->index(0, 0).data().toString() : "";
            if (!QFontDatabase::families().contains(first))
                continue; // the style or size list
            for (int row = 0; row < model->rowCount(); ++row) {
                const QString family = model->index(row, 0).data().toString();
                monospacedOnly = monospacedOnly && QFontDatabase::isFixedPitch(family);
            }
        }
        offered = fonts->currentFont();
        QFont bigger = offered;
        bigger.setPointSize(24);
        bigger.setUnderline(true);
        bigger.setStrikeOut(true);
        fonts->setCurrentFont(bigger);
        fonts->accept();
        return fonts->result();
    });
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_FONT));
    EXPECT_TRUE(monospacedOnly);
    EXPECT_EQ(QFontInfo(offered).family(), QFontInfo(grid.DisplayFont()).family());
    EXPECT_NEAR(QFontInfo(offered).pixelSize(), 13, 1);
    EXPECT_TRUE(QFontInfo(offered).fixedPitch());
    EXPECT_LT(g_displayFont.lfHeight, -13);
    EXPECT_EQ(g_displayFont.lfUnderline, 0);
    EXPECT_EQ(g_displayFont.lfStrikeOut, 0);
    EXPECT_GT(grid.m_nCharHeight, cellHeight);
    EXPECT_LT(grid.m_nBytesPerRow, bytesPerRow);
    EXPECT_FALSE(grid.DisplayFont().underline());
    const LogFont chosen = g_displayFont;
    const int chosenCell = grid.m_nCharHeight;

    // Cancel keeps it.
    dialogs.Then([](QDialog&) { return int(QDialog::Rejected); });
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_FONT));
    EXPECT_EQ(g_displayFont, chosen);

    // Saved at exit, read at the next start, used by the first view.
    CQuexoView::SaveDisplaySettings();
    ApplyDisplaySettings(DisplaySettings());
    CQuexoView::LoadDisplaySettings();
    EXPECT_EQ(g_displayFont, chosen);
    CQuexoView* next = OpenView(QStringLiteral("next.bin"));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetGrid().m_nCharHeight, chosenCell);
    EXPECT_EQ(dialogs.Unexpected(), 0);
}

TEST(OptionsDialog, TabVisitsTheTickedButtonOfEachGroupInOrder) {
    DialogScript dialogs;
    QStringList visited;
    dialogs.Then([&visited](QDialog& dialog) {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        for (int i = 0; i < 8; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        return int(QDialog::Rejected);
    });
    COptionsDlg options;
    options.m_nAddressMode = 1;
    options.m_nCharSet = 0;
    options.m_nOpenTextMode = 2;
    options.m_bFixedColumns = 1;
    options.m_nColumns = 16;
    EXPECT_EQ(options.DoModal(), IDCANCEL);
    EXPECT_EQ(visited, (QStringList{"radio1001", "radio1066", "check1002", "check1003", "edit1004",
                                    "radio1053", "button1", "button2"}));
}
