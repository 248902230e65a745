// The view's Options and Font commands in a running program: the dialog's
// fixed-columns rule and tab order, refused counts, settings reaching this view
// at once and later views, the per-view character set, and a chosen font
// surviving a restart through the profile.
#include "FrameTestSupport.h"

#include "display/COptionsDlg.h"
#include "display/DisplayGlobals.h"
#include "display/ViewCommandIds.h"
#include "framework/DialogScript.h"
#include "framework/StdCommandIds.h"

#include <QCheckBox>
#include <QDialogButtonBox>
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
        EXPECT_NE(Open(QByteArray(4096, 'x'), name), nullptr);
        return ActiveView();
    }
    DisplaySettings m_saved;
};

// A dialog step on the Options dialog, shown so that focus can be checked.
DialogRunner::ModalHandler OnOptions(std::function<void(COptionsDlg&)> step) {
    return [step](QDialog& dialog) {
        auto* options = qobject_cast<COptionsDlg*>(&dialog);
        EXPECT_NE(options, nullptr);
        if (!options)
            return int(QDialog::Rejected);
        options->show();
        step(*options);
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
    dialogs.Then(OnOptions([](COptionsDlg& options) {
        QAbstractButton* fixed = options.Button(COptionsDlg::IDC_FIXED_COLUMNS);
        QLineEdit* count = options.ColumnsEdit();
        // No fixed columns: cleared, disabled, showing 0.
        EXPECT_FALSE(fixed->isChecked());
        EXPECT_FALSE(count->isEnabled());
        EXPECT_EQ(count->text(), QStringLiteral("0"));
        EXPECT_TRUE(options.Button(COptionsDlg::IDC_OPEN_AS_BINARY)->isChecked());
        fixed->click();
        EXPECT_TRUE(count->isEnabled());
        EXPECT_EQ(count->text(), QStringLiteral("1"));
        EXPECT_EQ(options.focusWidget(), count);
        count->setText(QStringLiteral("40"));
        fixed->click();
        EXPECT_FALSE(count->isEnabled());
        EXPECT_EQ(count->text(), QStringLiteral("0"));
        fixed->click();
        EXPECT_EQ(count->text(), QStringLiteral("1")) << "whatever was there before";
        count->setText(QStringLiteral("24"));
        options.OkButton()->click();
    }));
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_OPTIONS));
    EXPECT_EQ(g_nFixedColumns, 24);
    EXPECT_EQ(view->GetGrid().Layout().m_nBytesPerRow, 24);
    EXPECT_EQ(dialogs.Unexpected(), 0);
}

TEST_F(OptionsTest, RefusedCountsKeepTheDialogOpenAndOkReachesThisViewAndLaterOnes) {
    Start();
    CQuexoView* other = OpenView(QStringLiteral("other.bin"));
    CQuexoView* view = OpenView();
    ASSERT_TRUE(other && view && other != view);
    PromptScript prompts;
    DialogScript dialogs;
    int stayedOpen = 0;
    dialogs.Then(OnOptions([&stayedOpen](COptionsDlg& options) {
        options.Button(COptionsDlg::IDC_FIXED_COLUMNS)->click();
        options.Button(COptionsDlg::IDC_DECIMAL)->click();
        options.Button(COptionsDlg::IDC_SHOW_UPPER)->click();
        for (const char* text : {"abc", "-3", "", "253"}) {
            options.ColumnsEdit()->setText(QString::fromLatin1(text));
            options.OkButton()->click();
            stayedOpen += options.result() != QDialog::Accepted &&
                          options.focusWidget() == options.ColumnsEdit();
        }
        options.ColumnsEdit()->setText(QStringLiteral("252"));
        options.OkButton()->click();
    }));
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_OPTIONS));
    EXPECT_EQ(stayedOpen, 4);
    ASSERT_EQ(prompts.Count(), 4);
    EXPECT_EQ(prompts.Shown()[1].m_strText, QStringLiteral("SVP entrer un nombre entier positif."));
    EXPECT_TRUE(prompts.Shown()[3].m_strText.contains(QStringLiteral("252")));

    EXPECT_EQ(view->GetGrid().Layout().m_nBytesPerRow, 252);
    EXPECT_FALSE(view->GetGrid().IsHexAddress());
    EXPECT_TRUE(view->GetGrid().IsShowUpper());
    EXPECT_TRUE(other->GetGrid().IsHexAddress()) << "an open view waits for its next update";
    CQuexoView* later = OpenView(QStringLiteral("later.bin"));
    ASSERT_NE(later, nullptr);
    EXPECT_FALSE(later->GetGrid().IsHexAddress());
    other->OnUpdate(nullptr, CQuexoView::kHintSettings, nullptr);
    EXPECT_FALSE(other->GetGrid().IsHexAddress());

    // Cancel changes nothing, whatever was ticked.
    dialogs.Then(OnOptions([](COptionsDlg& options) {
        options.Button(COptionsDlg::IDC_HEX)->click();
        options.CancelButton()->click();
    }));
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_OPTIONS));
    EXPECT_EQ(g_bHexAddress, 0);
}

TEST_F(OptionsTest, CharacterSetBelongsToTheView) {
    Start();
    CQuexoView* first = OpenView();
    ASSERT_TRUE(first && m_app->ExecuteCommand(ID_WINDOW_NEW));
    Idle();
    CQuexoView* second = ActiveView();
    ASSERT_NE(second, first);
    DialogScript dialogs;
    dialogs.Then(OnOptions([](COptionsDlg& options) {
        options.Button(COptionsDlg::IDC_EBCDIC)->click();
        options.OkButton()->click();
    }));
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_OPTIONS));
    // Even an update of every view leaves the first one in ASCII.
    first->GetDocument()->UpdateAllViews(nullptr, 0);
    EXPECT_EQ(first->GetGrid().GetCharSet(), kCharSetAscii);
    EXPECT_EQ(second->GetGrid().GetCharSet(), kCharSetEbcdic);
}

TEST_F(OptionsTest, ChosenFontChangesTheCellAndSurvivesARestart) {
    Start();
    CQuexoView* view = OpenView();
    ASSERT_NE(view, nullptr);
    CHexGridWnd& grid = view->GetGrid();
    const int cellHeight = grid.Layout().m_nCharHeight;
    const int bytesPerRow = grid.Layout().m_nBytesPerRow;
    g_displayFont.lfHeight = 0; // no height stored: the dialog starts from the grid's font

    DialogScript dialogs;
    QFont offered;
    QStringList faces;
    dialogs.Then([&](QDialog& dialog) {
        auto* fonts = qobject_cast<QFontDialog*>(&dialog);
        EXPECT_NE(fonts, nullptr);
        if (!fonts)
            return int(QDialog::Rejected);
        for (QListView* list : fonts->findChildren<QListView*>()) {
            const QAbstractItemModel* model = list->model();
            for (int row = 0; row < model->rowCount(); ++row)
                faces << model->index(row, 0).data().toString();
        }
        offered = fonts->currentFont();
        QFont bigger = offered;
        bigger.setPointSize(24);
        bigger.setUnderline(true);
        fonts->setCurrentFont(bigger);
        fonts->accept();
        return fonts->result();
    });
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_FONT));
    // Fixed-pitch faces only, starting on the face the grid draws with.
    EXPECT_TRUE(faces.contains(QFontInfo(grid.DisplayFont()).family()));
    for (const QString& face : faces)
        EXPECT_FALSE(QFontDatabase::families().contains(face) && !QFontDatabase::isFixedPitch(face))
            << face.toStdString();
    EXPECT_EQ(QFontInfo(offered).family(), QFontInfo(grid.DisplayFont()).family());
    EXPECT_NEAR(QFontInfo(offered).pixelSize(), 13, 1);
    EXPECT_LT(g_displayFont.lfHeight, -13);
    EXPECT_EQ(g_displayFont.lfUnderline, 0);
    EXPECT_GT(grid.Layout().m_nCharHeight, cellHeight);
    EXPECT_LT(grid.Layout().m_nBytesPerRow, bytesPerRow);
    const LogFont chosen = g_displayFont;

    // Saved at exit, read at the next start, used by the first view.
    CQuexoView::SaveDisplaySettings();
    ApplyDisplaySettings(DisplaySettings());
    CQuexoView::LoadDisplaySettings();
    EXPECT_EQ(g_displayFont, chosen);
    CQuexoView* next = OpenView(QStringLiteral("next.bin"));
    ASSERT_NE(next, nullptr);
    EXPECT_EQ(next->GetGrid().Layout().m_nCharHeight, grid.Layout().m_nCharHeight);
    EXPECT_EQ(dialogs.Unexpected(), 0);
}

// The dialog starts on the face, style and size the grid draws, offers no
// effects, and OK without a change changes nothing: neither the stored font
// nor the grid's cell.
TEST_F(OptionsTest, FontDialogOkUnchangedKeepsTheDrawnFont) {
    Start();
    CQuexoView* view = OpenView();
    ASSERT_NE(view, nullptr);
    CHexGridWnd& grid = view->GetGrid();
    const QFontInfo drawn(grid.DisplayFont());
    for (const int height : {0, -13, -17}) {
        SCOPED_TRACE(height);
        g_displayFont = LogFontFromFont(grid.DisplayFont());
        g_displayFont.lfHeight = height;
        const LogFont before = height == 0 ? LogFontFromFont(grid.DisplayFont()) : g_displayFont;
        DialogScript dialogs;
        QFont offered;
        int effectsShown = -1;
        dialogs.Then([&](QDialog& dialog) {
            auto* fonts = qobject_cast<QFontDialog*>(&dialog);
            EXPECT_NE(fonts, nullptr);
            if (!fonts)
                return int(QDialog::Rejected);
            dialog.show();
            offered = fonts->currentFont();
            effectsShown = 0;
            for (QCheckBox* box : dialog.findChildren<QCheckBox*>())
                effectsShown += box->isVisible() ? 1 : 0;
            auto* buttons = dialog.findChild<QDialogButtonBox*>();
            QPushButton* ok = buttons ? buttons->button(QDialogButtonBox::Ok) : nullptr;
            EXPECT_NE(ok, nullptr);
            if (ok)
                QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {},
                                  ok->mapTo(&dialog, ok->rect().center()));
            return dialog.result();
        });
        ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_FONT));
        EXPECT_EQ(dialogs.Unexpected(), 0);
        EXPECT_EQ(effectsShown, 0);
        EXPECT_FALSE(offered.italic());
        EXPECT_EQ(QFontInfo(offered).styleName(), drawn.styleName());
        EXPECT_EQ(QFontInfo(offered).family(), drawn.family());
        EXPECT_EQ(g_displayFont.lfHeight, before.lfHeight);
        EXPECT_EQ(g_displayFont.lfItalic, 0);
        EXPECT_EQ(g_displayFont.lfWeight, before.lfWeight);
        EXPECT_FALSE(grid.DisplayFont().italic());
    }
}

TEST(OptionsDialog, TabVisitsTheTickedButtonOfEachGroupInOrder) {
    DialogScript dialogs;
    QStringList visited;
    dialogs.Then(OnOptions([&visited](COptionsDlg& options) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&options));
        for (int i = 0; i < 8; ++i) {
            visited << QApplication::focusWidget()->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
    }));
    COptionsDlg options;
    options.m_nAddressMode = 1;
    options.m_nCharSet = 0;
    options.m_nOpenTextMode = 2;
    EXPECT_EQ(options.DoModal(), IDCANCEL);
    EXPECT_EQ(visited, (QStringList{"radio1001", "radio1066", "check1002", "check1003", "radio1053",
                                    "button1", "button2", "radio1001"}))
        << "the disabled count is skipped";
}
