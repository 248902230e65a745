// The view: update hints, edits reaching every view of a document, the status
// pane texts and the display settings in the profile.
#include "FrameTestSupport.h"

#include "display/DisplayGlobals.h"
#include "display/ViewCommandIds.h"
#include "framework/StdCommandIds.h"

#include <QScrollBar>

namespace {

// The display globals are process-wide: each test leaves them as it found them.
class ViewTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        m_saved = CurrentDisplaySettings(2);
    }
    void TearDown() override {
        ApplyDisplaySettings(m_saved);
        FrameTest::TearDown();
    }
    DisplaySettings m_saved;
};

QByteArray Bytes(int count) {
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char(i));
    return bytes;
}

} // namespace

TEST_F(ViewTest, HintsAreTestedBitByBit) {
    Start();
    CQuexoDoc* doc = Open(Bytes(300));
    ASSERT_NE(doc, nullptr);
    CQuexoView* view = ActiveView();
    ASSERT_NE(view, nullptr);
    CHexGridWnd& grid = view->GetGrid();
    ASSERT_EQ(grid.GetFile(), doc->GetPieceFile());
    EXPECT_EQ(grid.DisplayFont().pixelSize(), 13);
    EXPECT_TRUE(grid.IsHexAddress());

    g_displayFont.lfHeight = -20;
    g_bHexAddress = 0;
    g_bUpperChars = 1;
    g_nFixedColumns = 8;
    grid.SetFile(nullptr, true);

    view->OnUpdate(nullptr, CQuexoView::kHintFile, nullptr);
    EXPECT_EQ(grid.GetFile(), doc->GetPieceFile());
    EXPECT_EQ(grid.IsReadOnly(), doc->m_bReadOnly);
    EXPECT_EQ(grid.DisplayFont().pixelSize(), 13) << "hint 1 leaves the settings alone";
    EXPECT_EQ(grid.GetFixedColumns(), 0);

    grid.SetFile(nullptr, true);
    view->OnUpdate(nullptr, CQuexoView::kHintSettings, nullptr);
    EXPECT_EQ(grid.GetFile(), nullptr) << "hint 2 leaves the file alone";
    EXPECT_EQ(grid.DisplayFont().pixelSize(), 20);
    EXPECT_FALSE(grid.IsHexAddress());
    EXPECT_TRUE(grid.IsShowUpper());
    EXPECT_EQ(grid.GetFixedColumns(), 8);

    g_nFixedColumns = 4;
    view->OnUpdate(nullptr, 0, nullptr);
    EXPECT_EQ(grid.GetFile(), doc->GetPieceFile()) << "hint 0 is everything";
    EXPECT_EQ(grid.GetFixedColumns(), 4);

    g_nFixedColumns = 16;
    grid.SetFile(nullptr, true);
    view->OnUpdate(nullptr, CQuexoView::kHintFile | CQuexoView::kHintSettings, nullptr);
    EXPECT_EQ(grid.GetFile(), doc->GetPieceFile());
    EXPECT_EQ(grid.GetFixedColumns(), 16);
}

TEST_F(ViewTest, NewViewStartsWithTheCurrentSettingsOthersKeepTheirs) {
    Start();
    CQuexoDoc* doc = Open(Bytes(64));
    ASSERT_NE(doc, nullptr);
    CQuexoView* first = ActiveView();
    g_nFixedColumns = 8;
    ASSERT_TRUE(m_app->ExecuteCommand(ID_WINDOW_NEW));
    Idle();
    CQuexoView* second = ActiveView();
    ASSERT_NE(second, first);
    EXPECT_EQ(second->GetGrid().GetFixedColumns(), 8);
    EXPECT_EQ(first->GetGrid().GetFixedColumns(), 0);
    EXPECT_EQ(second->GetGrid().GetFile(), doc->GetPieceFile());
}

TEST_F(ViewTest, TypingMarksModifiedAndEveryViewFollows) {
    Start();
    CQuexoDoc* doc = Open(Bytes(64));
    ASSERT_NE(doc, nullptr);
    CQuexoView* first = ActiveView();
    ASSERT_TRUE(m_app->ExecuteCommand(ID_WINDOW_NEW));
    Idle();
    CQuexoView* second = ActiveView();
    ASSERT_NE(first, second);
    ASSERT_FALSE(doc->IsModified());

    // Grow the file behind the views' backs: only an update reaches the grids.
    doc->GetPieceFile()->Seek(64, CFile64::begin);
    doc->GetPieceFile()->Insert(16, 0);
    ASSERT_EQ(first->GetGrid().GetLength(), 64);

    CHexGridWnd& grid = second->GetGrid();
    grid.setFocus();
    grid.ResetRowsFormatted();
    QTest::keyClick(&grid, Qt::Key_A);
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(first->GetGrid().GetLength(), 80);
    EXPECT_EQ(second->GetGrid().GetLength(), 80);
    unsigned char byte = 0;
    doc->GetPieceFile()->Seek(0, CFile64::begin);
    doc->GetPieceFile()->Read(&byte, 1);
    EXPECT_EQ(byte, 0xA0);
    QCoreApplication::processEvents();
    EXPECT_GT(grid.RowsFormatted(), 0) << "the typing view repaints";
}

TEST_F(ViewTest, StatusPanesShowCaretAndSelection) {
    Start();
    ASSERT_NE(Open(Bytes(1024)), nullptr);
    CHexGridWnd& grid = ActiveView()->GetGrid();
    grid.SetCaret(255, true);
    grid.SetAnchor(255);
    Idle();
    EXPECT_EQ(Pane(1), QStringLiteral("Ofs 255  0xFF"));
    EXPECT_EQ(Pane(2), QString()) << "an empty selection shows nothing";

    grid.SetAnchor(255 - 0x10);
    Idle();
    EXPECT_EQ(Pane(2), QStringLiteral("Sel 16  0x10"));

    grid.SetCaret(1024, true); // the end position
    grid.SetAnchor(0);
    Idle();
    EXPECT_EQ(Pane(1), QStringLiteral("Ofs 1024  0x400"));
    EXPECT_EQ(Pane(2), QStringLiteral("Sel 1024  0x400"));

    m_app->CloseAllDocuments();
    Idle();
    EXPECT_EQ(Pane(1), QString());
    EXPECT_EQ(Pane(2), QString());
    EXPECT_EQ(Pane(0), QStringLiteral("Prèt"));
}

TEST_F(ViewTest, FocusGoesToTheGrid) {
    Start();
    ASSERT_NE(Open(Bytes(16)), nullptr);
    CQuexoView* view = ActiveView();
    view->setFocus();
    EXPECT_EQ(QApplication::focusWidget(), &view->GetGrid());
    EXPECT_EQ(view->GetGrid().geometry(), view->rect());
}

TEST_F(ViewTest, GridMessagesGoThroughThePromptService) {
    Start();
    CQuexoDoc* doc = Open(Bytes(16));
    ASSERT_NE(doc, nullptr);
    // As a file opened read-only: the flag reaches the grid with hint 1.
    doc->m_bReadOnly = true;
    doc->UpdateAllViews(nullptr, CQuexoView::kHintFile);
    PromptScript prompts;
    CHexGridWnd& grid = ActiveView()->GetGrid();
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_A);
    QCoreApplication::processEvents();
    ASSERT_EQ(prompts.Count(), 1);
    EXPECT_EQ(prompts.LastText(), QStringLiteral("Data is read-only"));
    EXPECT_FALSE(doc->IsModified());
}

// --- display settings in the profile ------------------------------------------

TEST_F(ViewTest, EmptyProfileLeavesTheDefaults) {
    CTextHandOff::Current().m_nOpenTextMode = 2;
    CQuexoView::LoadDisplaySettings();
    EXPECT_EQ(g_displayFont, DefaultDisplayFont());
    EXPECT_EQ(g_bHexAddress, 1);
    EXPECT_EQ(g_bUpperChars, 0);
    EXPECT_EQ(g_nFixedColumns, 0);
    EXPECT_EQ(g_rcPrintMargins, PrintMargins());
    EXPECT_EQ(CTextHandOff::Current().m_nOpenTextMode, 2);
    EXPECT_EQ(FontFromLogFont(g_displayFont).pixelSize(), 13);
}

TEST_F(ViewTest, SettingsRoundTripWithTheirNamesAndSizes) {
    LogFont font;
    font.lfHeight = -16;
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfFaceName = "DejaVu Sans Mono";
    g_displayFont = font;
    g_bHexAddress = 0;
    g_bUpperChars = 1;
    g_nFixedColumns = 16;
    g_rcPrintMargins = {500, 750, 1000, 1250};
    CTextHandOff::Current().m_nOpenTextMode = 0;
    CQuexoView::SaveDisplaySettings();

    QSettings& profile = Profile();
    profile.sync();
    const QStringList expected{"Font",          "Hex Address",   "Upper Characters",
                               "Fixed Columns", "Print Margins", "OpenTextMode"};
    profile.beginGroup(QStringLiteral("Settings"));
    QStringList keys = profile.childKeys();
    keys.sort();
    QStringList sorted = expected;
    sorted.sort();
    EXPECT_EQ(keys, sorted);
    EXPECT_EQ(profile.value("Font").typeId(), QMetaType::QByteArray);
    EXPECT_EQ(profile.value("Font").toByteArray().size(), 60);
    EXPECT_EQ(profile.value("Print Margins").toByteArray().size(), 16);
    EXPECT_EQ(profile.value("Hex Address").toInt(), 0);
    EXPECT_EQ(profile.value("Upper Characters").toInt(), 1);
    EXPECT_EQ(profile.value("Fixed Columns").toInt(), 16);
    EXPECT_EQ(profile.value("OpenTextMode").toInt(), 0);
    profile.endGroup();

    ApplyDisplaySettings(DisplaySettings());
    CTextHandOff::Current().m_nOpenTextMode = 2;
    CQuexoView::LoadDisplaySettings();
    EXPECT_EQ(g_displayFont, font);
    EXPECT_EQ(g_bHexAddress, 0);
    EXPECT_EQ(g_bUpperChars, 1);
    EXPECT_EQ(g_nFixedColumns, 16);
    EXPECT_EQ(g_rcPrintMargins, (PrintMargins{500, 750, 1000, 1250}));
    EXPECT_EQ(CTextHandOff::Current().m_nOpenTextMode, 0);

    const QFont qfont = FontFromLogFont(g_displayFont);
    EXPECT_EQ(qfont.pixelSize(), 16);
    EXPECT_EQ(qfont.weight(), QFont::Bold);
    EXPECT_TRUE(qfont.italic());
}

TEST_F(ViewTest, DamagedValuesFallBackToTheDefaults) {
    QSettings& profile = Profile();
    LogFont other = DefaultDisplayFont();
    other.lfFaceName = "Other";
    const ByteVector good = EncodeLogFont(other);
    for (int size : {59, 61}) {
        QByteArray font(reinterpret_cast<const char*>(good.data()), 60);
        font.resize(size, '\0');
        profile.setValue("Settings/Font", font);
        profile.setValue("Settings/Print Margins", QByteArray(15, '\x01'));
        profile.setValue("Settings/Hex Address", QStringLiteral("abc"));
        profile.setValue("Settings/Fixed Columns", QByteArray("\x10\x00\x00\x00", 4));
        profile.setValue("Settings/OpenTextMode", QStringLiteral("1x"));
        profile.setValue("Settings/Upper Characters", 1); // a sound value still counts
        profile.sync();
        ApplyDisplaySettings(DisplaySettings());
        CTextHandOff::Current().m_nOpenTextMode = 2;
        CQuexoView::LoadDisplaySettings();
        EXPECT_EQ(g_displayFont.lfFaceName, "Courier") << size << "-byte font";
        EXPECT_EQ(g_rcPrintMargins, PrintMargins());
        EXPECT_EQ(g_bHexAddress, 1);
        EXPECT_EQ(g_nFixedColumns, 0);
        EXPECT_EQ(CTextHandOff::Current().m_nOpenTextMode, 2);
        EXPECT_EQ(g_bUpperChars, 1);
    }
    // A font stored as text is no font either.
    profile.setValue("Settings/Font", QStringLiteral("Courier"));
    profile.sync();
    CQuexoView::LoadDisplaySettings();
    EXPECT_EQ(g_displayFont, DefaultDisplayFont());
}
