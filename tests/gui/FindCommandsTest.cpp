// Find and find next on a shown document: where the selection lands in both
// directions, case folding, EBCDIC, the Find dialog's fields, and the ways a
// search can end early (Cancel, Escape, a read error).
#include "EditCommandsTestSupport.h"
#include "ProgressTestSupport.h"

#include "commands/CFindDlg.h"
#include "commands/FindCommands.h"
#include "display/ViewCommandIds.h"
#include "framework/CCmdUI.h"
#include "framework/CProgress.h"
#include "framework/DialogScript.h"
#include "framework/PromptScript.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProgressDialog>
#include <QRadioButton>
#include <QTemporaryDir>

#include <fstream>
#include <unistd.h>

using edittest::Bytes;
using edittest::NewDoc;
using namespace std::string_literals;

namespace {

const QString kNotFound = QStringLiteral("Les Données n'ont pas été trouvées.");

// A document with its view's remembered search.
struct Searcher {
    edittest::EditDoc doc;
    CByteString bytes;
    bool matchCase = false;
    bool down = true;

    CFindState State() { return CFindState{bytes, matchCase, down}; }
    void FindNext() { FindCommands::OnEditFindNext(doc.Doc(), doc.View(), State()); }
    void Find() { FindCommands::OnEditFind(doc.Doc(), doc.View(), State()); }
    // {anchor, caret}
    std::pair<std::int64_t, std::int64_t> Selection() const {
        return {doc.Grid().GetAnchor(), doc.Grid().GetCaret()};
    }
    bool FindNextEnabled() {
        CCmdUI ui(ID_EDIT_FINDNEXT);
        FindCommands::OnUpdateEditFindNext(State(), &ui);
        return ui.m_bEnabled;
    }
};

Searcher Over(const std::vector<unsigned char>& content, const CByteString& bytes, bool down,
              std::int64_t caret, bool matchCase = false) {
    Searcher s{NewDoc(content), bytes, matchCase, down};
    s.doc.Select(caret, caret);
    return s;
}

// A dialog step that checks the dialog opened with case off and down, then
// types `text` into the text field (or `hex` into the hex field) and sets the
// choices.
DialogRunner::ModalHandler FindDialog(const QString& text, const QString& hex, int matchCase,
                                      int direction, QString* shownHex = nullptr) {
    return [=](QDialog& dialog) {
        auto* find = qobject_cast<CFindDlg*>(&dialog);
        EXPECT_NE(find, nullptr);
        if (!find)
            return int(QDialog::Rejected);
        EXPECT_EQ(find->windowTitle(), QStringLiteral("Trouver"));
        EXPECT_FALSE(find->MatchCaseBox()->isChecked());
        EXPECT_TRUE(find->DirectionButton(1)->isChecked());
        if (shownHex)
            *shownHex = find->HexEdit()->text();
        if (!text.isNull()) {
            find->TextEdit()->selectAll();
            QTest::keyClicks(find->TextEdit(), text);
        }
        if (!hex.isNull()) {
            find->HexEdit()->clear();
            QTest::keyClicks(find->HexEdit(), hex);
        }
        find->MatchCaseBox()->setChecked(matchCase != 0);
        find->DirectionButton(direction)->setChecked(true);
        find->accept();
        return find->result();
    };
}

} // namespace

TEST(FindCommands, SelectionFollowsTheMatchesBothWays) {
    PromptScript prompts;
    // Down: the caret after each match, so overlapping ones are skipped.
    Searcher down = Over(Bytes({0x41, 0x41, 0x41, 0x41}), "AA", 1, 0);
    down.FindNext();
    EXPECT_EQ(down.Selection(), std::make_pair(std::int64_t{0}, std::int64_t{2}));
    down.FindNext();
    EXPECT_EQ(down.Selection(), std::make_pair(std::int64_t{2}, std::int64_t{4}));
    EXPECT_EQ(prompts.Count(), 0);
    down.FindNext();
    EXPECT_EQ(prompts.LastText(), kNotFound);
    EXPECT_EQ(down.Selection(), std::make_pair(std::int64_t{2}, std::int64_t{4}));

    // Up: the caret on each match's first byte, visiting overlapping ones.
    Searcher up = Over(Bytes({0x41, 0x41, 0x41, 0x41}), "AA", 0, 4);
    for (std::int64_t first : {2, 1, 0}) {
        up.FindNext();
        EXPECT_EQ(up.Selection(), std::make_pair(first + 2, first));
    }
    EXPECT_EQ(prompts.Count(), 1);
    up.FindNext(); // from offset 0 nothing lies before
    EXPECT_EQ(prompts.Count(), 2);
    EXPECT_EQ(up.Selection(), std::make_pair(std::int64_t{2}, std::int64_t{0}));

    EXPECT_EQ(prompts.Count(), 2);
}

TEST(FindCommands, CaseFoldingAndEbcdic) {
    PromptScript prompts;
    DialogScript dialogs;
    const std::vector<unsigned char> content = Bytes({'A', 'B', 'C', 'a', 'B', 'c', 'a', 'b', 'c'});
    Searcher folded = Over(content, "abc", 1, 0);
    for (std::int64_t at : {0, 3, 6}) {
        folded.FindNext();
        EXPECT_EQ(folded.doc.Grid().GetAnchor(), at);
    }
    Searcher exact = Over(content, "abc", 1, 0, 1);
    exact.FindNext();
    EXPECT_EQ(exact.doc.Grid().GetAnchor(), 6);
    EXPECT_EQ(prompts.Count(), 0);

    // In an EBCDIC view the typed text stands for its EBCDIC codes, and EBCDIC
    // letters are compared exactly even with case off.
    const std::vector<unsigned char> ebcdic = Bytes({0x81, 0x82, 0xC1, 0xC2, 0x41, 0x42});
    Searcher e = Over(ebcdic, "", 1, 0);
    e.doc.Grid().SetCharSet(1);
    dialogs.Then(FindDialog(QStringLiteral("AB"), QString(), 0, 1));
    e.Find();
    EXPECT_EQ(e.bytes, "\xC1\xC2");
    EXPECT_EQ(e.Selection(), std::make_pair(std::int64_t{2}, std::int64_t{4}));
    EXPECT_EQ(prompts.Count(), 0);
    EXPECT_EQ(dialogs.Unexpected(), 0);
}

TEST(FindCommands, DialogSeedsRemembersAndEnablesFindNext) {
    PromptScript prompts;
    DialogScript dialogs;
    Searcher s = Over(gridtest::Pattern(600), "", 1, 10);
    EXPECT_FALSE(s.FindNextEnabled());

    // An empty search succeeds at once where the caret is: the selection
    // collapses and find next stays disabled.
    s.doc.Select(5, 10);
    dialogs.Then(FindDialog(QString(), QStringLiteral(""), 0, 1));
    s.Find();
    EXPECT_EQ(s.Selection(), std::make_pair(std::int64_t{10}, std::int64_t{10}));
    EXPECT_FALSE(s.FindNextEnabled());

    // A selection seeds the dialog with at most its first 128 bytes; the
    // choices made are remembered for find next, the dialog starts afresh.
    QString shown;
    s.doc.Select(300, 500);
    dialogs.Then(FindDialog(QString(), QString(), 1, 0, &shown));
    s.Find();
    QString expectedSeed;
    for (int i = 300; i < 428; ++i)
        expectedSeed += QString::asprintf("%02X ", i & 0xFF);
    EXPECT_EQ(shown, expectedSeed);
    EXPECT_EQ(s.bytes.size(), 128u);
    EXPECT_TRUE(s.matchCase);
    EXPECT_FALSE(s.down);
    EXPECT_EQ(s.Selection(), std::make_pair(std::int64_t{428}, std::int64_t{300}));
    EXPECT_TRUE(s.FindNextEnabled());

    // With no selection the remembered bytes are offered; Cancel changes nothing.
    dialogs.Then([&](QDialog& dialog) {
        auto* find = qobject_cast<CFindDlg*>(&dialog);
        EXPECT_EQ(find->HexEdit()->text(), expectedSeed);
        EXPECT_FALSE(find->MatchCaseBox()->isChecked());
        EXPECT_TRUE(find->DirectionButton(1)->isChecked());
        find->reject();
        return int(QDialog::Rejected);
    });
    s.doc.Select(50, 50);
    s.Find();
    EXPECT_EQ(s.Selection(), std::make_pair(std::int64_t{50}, std::int64_t{50}));
    EXPECT_FALSE(s.down);
    EXPECT_EQ(prompts.Count(), 0);
    EXPECT_EQ(dialogs.Unexpected(), 0);
}

TEST(FindCommands, CancelEscapeAndReadErrorsKeepCaretAndSelection) {
    QTemporaryDir dir;
    const std::string path = (dir.path() + QStringLiteral("/large.bin")).toStdString();
    {
        std::ofstream out(path, std::ios::binary);
        out.put('x');
    }
    ASSERT_EQ(::truncate(path.c_str(), std::int64_t{64} << 20), 0); // sparse, all zeros

    PromptScript prompts;
    Searcher s{edittest::OpenDoc(path, 0x20), "needle", 1, 1};
    for (const bool down : {true, false}) {
        for (const CancelBy how : kEveryCancel) {
            SCOPED_TRACE(testing::Message() << how << (down ? " down" : " up"));
            s.down = down;
            s.doc.Select(1000, 30000000);
            const CancelOnShow cancel(how);
            const int before = prompts.Count();
            s.FindNext();
            EXPECT_TRUE(cancel.Sent());
            EXPECT_EQ(prompts.Count(), before + 1);
            EXPECT_EQ(prompts.LastText(), kNotFound);
            EXPECT_EQ(s.Selection(), std::make_pair(std::int64_t{1000}, std::int64_t{30000000}));
        }
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // Another program shortens the file under the search: its error, not
    // "not found", and caret and selection stay.
    CProgress::SetObserverForTests(nullptr);
    CProgress::SetDelayForTests(-1);
    ASSERT_EQ(::truncate(path.c_str(), 100000), 0);
    s.down = true;
    s.doc.Select(10, 20);
    s.FindNext();
    EXPECT_NE(prompts.LastText(), kNotFound);
    EXPECT_TRUE(prompts.LastText().contains(QStringLiteral("large.bin")))
        << prompts.LastText().toStdString();
    EXPECT_EQ(s.Selection(), std::make_pair(std::int64_t{10}, std::int64_t{20}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(FindCommands, TabVisitsTheDialogsInTheirOrder) {
    PromptScript prompts;
    DialogScript dialogs;
    const auto tabs = [](QStringList* visited, int count) {
        return [visited, count](QDialog& dialog) {
            dialog.show();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            for (int i = 0; i < count; ++i) {
                visited->append(QApplication::focusWidget()->objectName());
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            dialog.reject();
            return int(QDialog::Rejected);
        };
    };
    Searcher s = Over(gridtest::Pattern(10), "", 1, 0);
    QStringList find;
    dialogs.Then(tabs(&find, 7));
    s.Find();
    EXPECT_EQ(find, (QStringList{"edit1020", "edit1000", "check1024", "radio1022", "button1",
                                 "button2", "edit1020"}));
    QStringList replace;
    dialogs.Then(tabs(&replace, 10));
    FindCommands::OnEditReplace(s.doc.Doc(), s.doc.View(), "A");
    EXPECT_EQ(replace,
              (QStringList{"edit1054", "edit1055", "edit1056", "edit1057", "check1024", "radio1059",
                           "button1060", "button1061", "button1062", "button2"}));
    EXPECT_EQ(dialogs.Unexpected(), 0);
}
