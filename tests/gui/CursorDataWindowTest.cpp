// The cursor data window: its fields come from the active view through the
// command-update routing, in either byte order, and follow the caret and
// edits at the caret.
#include "FrameTestSupport.h"

#include "frames/FrameCommandIds.h"
#include "platform/FaultInjection.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

class CursorDataTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        Start();
        m_pDlg = m_pMain->GetCursorDataWnd();
        ASSERT_NE(m_pDlg, nullptr);
        ASSERT_TRUE(m_pDlg->isVisible()) << "shown on a first run";
    }

    QStringList Fields() const {
        QStringList texts;
        for (unsigned id = 1045; id <= 1049; ++id)
            texts << m_pDlg->Field(id)->text();
        return texts;
    }

    // Opens `bytes` with the caret at `caret` and refreshes as idle time does.
    CQuexoView* ShowAt(const QByteArray& bytes, std::int64_t caret) {
        if (!Open(bytes))
            return nullptr;
        CQuexoView* view = ActiveView();
        view->GetGrid().SetCaret(caret, true);
        Idle();
        return view;
    }

    void ClickOrder(unsigned id) { QTest::mouseClick(m_pDlg->OrderButton(id), Qt::LeftButton); }

    // A %g text as the C library writes it here.
    static QString G(double value) {
        char text[32];
        std::snprintf(text, sizeof text, "%g", value);
        return QString::fromLatin1(text);
    }

    CCursorDataDlg* m_pDlg = nullptr;
};

// Fails every read of files whose name contains "broken".
class ReadFault : public platform::FaultInjector {
public:
    ReadFault() { platform::SetFaultInjector(this); }
    ~ReadFault() override { platform::SetFaultInjector(nullptr); }
    int Before(platform::FileOp op, const std::string& name, std::int64_t*) override {
        return m_bOn && op == platform::FileOp::Read && name.find("broken") != std::string::npos
                   ? EIO
                   : 0;
    }
    bool m_bOn = false;
};

} // namespace

TEST_F(CursorDataTest, StartsLittleEndianAndFollowsTheCaret) {
    EXPECT_TRUE(m_pDlg->OrderButton(1037)->isChecked());
    EXPECT_FALSE(m_pDlg->OrderButton(1038)->isChecked());
    EXPECT_EQ(m_pDlg->windowTitle(), QStringLiteral("Données du curseur"));

    CQuexoView* view = ShowAt(QByteArray("\x7F\x01", 2), 0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Fields(), QStringList({"127", "383", "---", "---", "---"}));
    view->GetGrid().SetCaret(1, true);
    Idle();
    EXPECT_EQ(Fields(), QStringList({"1", "---", "---", "---", "---"})) << "the last byte";
    view->GetGrid().SetCaret(2, true);
    Idle();
    EXPECT_EQ(Fields(), QStringList({"---", "---", "---", "---", "---"})) << "the end position";
    for (unsigned id = 1045; id <= 1049; ++id)
        EXPECT_TRUE(m_pDlg->Field(id)->isEnabled());
}

TEST_F(CursorDataTest, AllOnesReadAsMinusOneAndNotANumber) {
    ASSERT_NE(ShowAt(QByteArray(8, '\xFF'), 0), nullptr);
    // What %g makes of the all-ones patterns, a NaN each.
    const std::uint32_t bits32 = 0xFFFFFFFFu;
    const std::uint64_t bits64 = ~std::uint64_t{0};
    float single = 0;
    double dbl = 0;
    std::memcpy(&single, &bits32, sizeof single);
    std::memcpy(&dbl, &bits64, sizeof dbl);
    EXPECT_EQ(Fields(), QStringList({"255 (-1)", "65535 (-1)", "4294967295 (-1)", G(double(single)),
                                     G(dbl)}));
    EXPECT_TRUE(Fields()[3].contains(QLatin1String("nan")));
}

TEST_F(CursorDataTest, ByteOrderButtonsRefreshAtOnceAndGiveTheFocusBack) {
    CQuexoView* view = ShowAt(QByteArray("\x00\x00\x80\x3F", 4), 0);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(Fields(), QStringList({"0", "0", "1065353216", "1", "---"}));

    m_pDlg->activateWindow();
    ClickOrder(1038);
    EXPECT_EQ(m_pDlg->m_nByteOrder, 1);
    EXPECT_EQ(Fields(), QStringList({"0", "0", "32831", G(4.6006e-41), "---"}))
        << "changed without waiting for idle time";
    EXPECT_EQ(Fields()[3], QStringLiteral("4.6006e-41"));
    EXPECT_EQ(QApplication::activeWindow(), m_pMain);
    EXPECT_EQ(QApplication::focusWidget(), &view->GetGrid());

    ClickOrder(1037);
    EXPECT_EQ(m_pDlg->m_nByteOrder, 0);
    EXPECT_EQ(Fields()[2], QStringLiteral("1065353216"));
}

// As a user does it: a click on a byte-order button through the window
// system, then arrow keys to wherever the keyboard focus is.
TEST_F(CursorDataTest, ArrowKeysMoveTheCaretAfterAByteOrderClick) {
    CQuexoView* view = ShowAt(QByteArray(4096, '\x11'), 0);
    ASSERT_NE(view, nullptr);
    CHexGridWnd& grid = view->GetGrid();
    std::int64_t caret = grid.GetCaret();
    for (const unsigned id : {1038u, 1037u, 1038u}) {
        SCOPED_TRACE(id);
        QRadioButton* button = m_pDlg->OrderButton(id);
        QTest::mouseClick(m_pDlg->windowHandle(), Qt::LeftButton, {},
                          button->mapTo(m_pDlg, button->rect().center()));
        EXPECT_EQ(m_pDlg->m_nByteOrder, id == 1038u ? 1 : 0);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return QGuiApplication::focusWindow() == m_pMain->windowHandle(); }, 1000));
        QTest::keyClick(QGuiApplication::focusWindow(), Qt::Key_Down);
        EXPECT_GT(grid.GetCaret(), caret);
        caret = grid.GetCaret();
    }
}

TEST_F(CursorDataTest, SixteenBitsBigEndian) {
    ASSERT_NE(ShowAt(QByteArray("\x7F\x01", 2), 0), nullptr);
    ClickOrder(1038);
    EXPECT_EQ(Fields()[1], QStringLiteral("32513"));
}

TEST_F(CursorDataTest, AnOverwriteUnderTheCaretShowsAtOnce) {
    CQuexoView* view = ShowAt(QByteArray(8, '\xFF'), 0);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(Fields()[0], QStringLiteral("255 (-1)"));
    CHexGridWnd& grid = view->GetGrid();
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_0); // high digit: the caret stays on the byte
    ASSERT_EQ(grid.GetCaret(), 0);
    Idle();
    EXPECT_EQ(Fields()[0], QStringLiteral("15"));
}

TEST_F(CursorDataTest, EachViewAnswersForItself) {
    CQuexoView* first = ShowAt(QByteArray("\x01\x02\x03\x04", 4), 0);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(Open(QByteArray("\x09\x08", 2), QStringLiteral("other.bin")), nullptr);
    Idle();
    EXPECT_EQ(Fields()[0], QStringLiteral("9"));
    first->GetParentFrame()->ActivateFrame();
    Idle();
    EXPECT_EQ(Fields()[0], QStringLiteral("1"));
}

TEST_F(CursorDataTest, WithoutDocumentTheFieldsAreEmptyAndDisabled) {
    ASSERT_NE(ShowAt(QByteArray("\x01\x02", 2), 0), nullptr);
    ASSERT_TRUE(m_pDlg->Field(1045)->isEnabled());
    m_app->CloseAllDocuments();
    Idle();
    for (unsigned id = 1045; id <= 1049; ++id) {
        EXPECT_EQ(m_pDlg->Field(id)->text(), QString());
        EXPECT_FALSE(m_pDlg->Field(id)->isEnabled());
    }
}

TEST_F(CursorDataTest, AReadErrorIsReportedOncePerPositionAndKeepsTheTexts) {
    ReadFault fault;
    CQuexoDoc* doc = Open(QByteArray("\x05\x06\x07\x08", 4), QStringLiteral("broken.bin"));
    ASSERT_NE(doc, nullptr);
    Idle();
    ASSERT_EQ(Fields()[0], QStringLiteral("5"));

    // The fault is on only during idle passes, so the grid's painting reads
    // (and reports) nothing.
    PromptScript prompts;
    ActiveView()->GetGrid().SetCaret(1, true);
    fault.m_bOn = true;
    m_app->OnIdle();
    m_app->OnIdle();
    fault.m_bOn = false;
    QCoreApplication::processEvents();
    EXPECT_EQ(prompts.Count(), 1) << "once, not once per idle pass";
    EXPECT_EQ(Fields()[0], QStringLiteral("5")) << "the old texts stay";
}

TEST_F(CursorDataTest, HiddenWindowIsNotRefreshed) {
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_CURSORDATA));
    ASSERT_FALSE(m_pDlg->isVisible());
    ASSERT_NE(ShowAt(QByteArray("\x2A", 1), 0), nullptr);
    EXPECT_EQ(m_pDlg->Field(1045)->text(), QString());
    ASSERT_TRUE(m_app->ExecuteCommand(ID_VIEW_CURSORDATA));
    EXPECT_EQ(m_pDlg->Field(1045)->text(), QStringLiteral("42")) << "refreshed when shown";
}

// A search leaves the position on its match, and the edit that follows reads
// from there; painting the window and refreshing these fields in between (the
// event loop runs during long searches) must not move it.
TEST_F(CursorDataTest, PaintingAndRefreshingLeaveTheSearchPosition) {
    CQuexoView* view = ShowAt(QByteArray("0123456789abcdef0123456789abcdef"), 30);
    ASSERT_NE(view, nullptr);
    CPieceFile64& file = *view->GetDocument()->GetPieceFile();
    ASSERT_EQ(file.Find(CByteString("abc"), 1, 1, 0, file.GetLength()), 10);
    ASSERT_EQ(file.GetPosition(), 10);

    view->GetGrid().viewport()->repaint();
    view->GetGrid().SetCaret(2, true); // a new caret reads the cursor data again
    Idle();
    ASSERT_EQ(Fields()[0], QStringLiteral("50"));
    view->GetGrid().SetAnchor(0); // copying the selection reads, too
    EXPECT_EQ(view->GetGrid().GetSelectedBytes(4), CByteString("01"));

    EXPECT_EQ(file.GetPosition(), 10);
    char next[3] = {};
    EXPECT_EQ(file.Read(next, 3), 3u);
    EXPECT_EQ(std::string(next, 3), "abc");
}
