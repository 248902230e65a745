// The Replace dialog on a shown document: what it offers when it opens, which
// buttons it enables, the questions and messages of each button, the content
// and selection it leaves; and one Replace All typed through the keyboard in
// the running frame and saved to disk.
#include "EditCommandsTestSupport.h"
#include "FrameTestSupport.h"
#include "ProgressTestSupport.h"

#include "commands/CFindDlg.h"
#include "commands/CReplaceDlg.h"
#include "commands/EditCommands.h"
#include "commands/FindCommands.h"
#include "display/ViewCommandIds.h"
#include "framework/CProgress.h"
#include "framework/DialogScript.h"
#include "framework/PromptScript.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

#include <fstream>

using edittest::Bytes;
using edittest::NewDoc;

namespace {

const QString kNotFound = QStringLiteral("Les Données n'ont pas été trouvées.");
const QString kSizesDiffer =
    QStringLiteral("Trouver et Remplacer différentes tailles.\n\nContinue?");
const QString kNothingToFind = QStringLiteral("Entrez d'abord les données à trouver.");

// Runs the dialog on `doc` with `step` in place of the user.
void WithDialog(edittest::EditDoc& doc, const CByteString& remembered,
                std::function<void(CReplaceDlg&)> step) {
    DialogScript dialogs;
    dialogs.Then([&](QDialog& dialog) {
        auto* replace = qobject_cast<CReplaceDlg*>(&dialog);
        EXPECT_NE(replace, nullptr);
        if (replace)
            step(*replace);
        dialog.reject();
        return int(QDialog::Rejected);
    });
    FindCommands::OnEditReplace(doc.Doc(), doc.View(), remembered);
    EXPECT_EQ(dialogs.Unexpected(), 0);
}

void SetHex(QLineEdit* edit, const QString& hex) {
    edit->clear();
    QTest::keyClicks(edit, hex);
}

std::pair<std::int64_t, std::int64_t> Selection(const edittest::EditDoc& doc) {
    return {doc.Grid().GetAnchor(), doc.Grid().GetCaret()};
}

} // namespace

TEST(ReplaceCommands, WhatTheDialogOffersWhenItOpens) {
    PromptScript prompts;
    auto doc = NewDoc(gridtest::Pattern(300));
    struct Case {
        std::int64_t anchor, caret;
        const char* findHex; // shown in the find hex field
        bool selectionScope, selectionEnabled, findEnabled;
    } const cases[] = {
        {10, 10, "41 42 ", false, false, true}, // no selection: the remembered bytes
        {10, 13, "0A 0B 0C ", false, true, true},
        {10, 59,
         "0A 0B 0C 0D 0E 0F 10 11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F 20 21 "
         "22 23 24 25 26 27 28 29 2A 2B 2C 2D 2E 2F 30 31 32 33 34 35 36 37 38 39 3A ",
         false, true, true},
        {10, 60, "41 42 ", true, true, false}, // 50 bytes: the scope is the selection
    };
    for (const Case& c : cases) {
        doc.Select(c.anchor, c.caret);
        WithDialog(doc, "AB", [&](CReplaceDlg& dialog) {
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Remplacer"));
            EXPECT_EQ(dialog.FindHexEdit()->text().toStdString(), c.findHex);
            EXPECT_TRUE(dialog.ReplaceHexEdit()->text().isEmpty());
            EXPECT_FALSE(dialog.MatchCaseBox()->isChecked());
            EXPECT_EQ(dialog.ScopeButton(ReplaceScope::Selection)->isChecked(), c.selectionScope);
            EXPECT_EQ(dialog.ScopeButton(ReplaceScope::WholeFile)->isChecked(), !c.selectionScope);
            EXPECT_EQ(dialog.ScopeButton(ReplaceScope::Selection)->isEnabled(), c.selectionEnabled);
            EXPECT_EQ(dialog.FindNextButton()->isEnabled(), c.findEnabled);
            EXPECT_EQ(dialog.ReplaceButton()->isEnabled(), c.findEnabled);
            EXPECT_TRUE(dialog.ReplaceAllButton()->isEnabled());
            EXPECT_TRUE(dialog.FindNextButton()->isDefault());
            EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("Annuler"));
            if (c.selectionScope) {
                dialog.ScopeButton(ReplaceScope::WholeFile)->click();
                EXPECT_TRUE(dialog.FindNextButton()->isEnabled());
                dialog.ScopeButton(ReplaceScope::Selection)->click();
                EXPECT_FALSE(dialog.ReplaceButton()->isEnabled());
            }
        });
    }
    EXPECT_EQ(prompts.Count(), 0);
}

// "&Suivant ..." is the view's find next, always downward from the caret,
// with the dialog's own case choice.
TEST(ReplaceCommands, FindNextButtonSearchesDownWithTheDialogsCase) {
    PromptScript prompts;
    auto doc = NewDoc(Bytes({'x', 'a', 'x', 'A', 'x'}));
    doc.Select(2, 2);
    WithDialog(doc, "a", [&](CReplaceDlg& dialog) {
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(dialog.MatchCaseBox(), Qt::LeftButton, {},
                          QPoint(4, dialog.MatchCaseBox()->height() / 2));
        ASSERT_TRUE(dialog.MatchCaseBox()->isChecked());
        QTest::mouseClick(dialog.FindNextButton(), Qt::LeftButton);
        EXPECT_EQ(prompts.Count(), 1) << "'a' lies only above the caret";
        EXPECT_EQ(prompts.LastText(), kNotFound);
        EXPECT_EQ(Selection(doc), std::make_pair(std::int64_t{2}, std::int64_t{2}));

        QTest::mouseClick(dialog.MatchCaseBox(), Qt::LeftButton, {},
                          QPoint(4, dialog.MatchCaseBox()->height() / 2));
        QTest::mouseClick(dialog.FindNextButton(), Qt::LeftButton);
        EXPECT_EQ(Selection(doc), std::make_pair(std::int64_t{3}, std::int64_t{4}));
        EXPECT_EQ(prompts.Count(), 1);
    });
}

TEST(ReplaceCommands, FindNextReplaceOneAndTheLengthQuestion) {
    PromptScript prompts;
    auto doc = NewDoc(Bytes({'x', 'A', 'x', 'A', 'x', 'A'}));
    doc.Select(0, 0);
    WithDialog(doc, "A", [&](CReplaceDlg& dialog) {
        // "Suivant" selects the occurrence; "Remplacer" replaces exactly it.
        dialog.FindNextButton()->click();
        EXPECT_EQ(Selection(doc), std::make_pair(std::int64_t{1}, std::int64_t{2}));
        SetHex(dialog.ReplaceHexEdit(), QStringLiteral("4243"));
        prompts.Answer(IDNO);
        dialog.ReplaceButton()->click(); // No: nothing changes
        EXPECT_EQ(prompts.LastText(), kSizesDiffer);
        EXPECT_EQ(doc.Bytes(), Bytes({'x', 'A', 'x', 'A', 'x', 'A'}));
        EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("Close"));
        prompts.Answer(IDYES);
        dialog.ReplaceButton()->click();
        EXPECT_EQ(doc.Bytes(), Bytes({'x', 'B', 'C', 'x', 'A', 'x', 'A'}));
        EXPECT_EQ(Selection(doc), std::make_pair(std::int64_t{1}, std::int64_t{3}));
        // The selection now has another length: the next occurrence is
        // replaced without being shown first, and the question is not asked.
        dialog.ReplaceButton()->click();
        EXPECT_EQ(doc.Bytes(), Bytes({'x', 'B', 'C', 'x', 'B', 'C', 'x', 'A'}));
        EXPECT_EQ(Selection(doc), std::make_pair(std::int64_t{4}, std::int64_t{6}));
        EXPECT_EQ(prompts.Count(), 2);
        // Editing a field asks again.
        SetHex(dialog.ReplaceHexEdit(), QStringLiteral("44"));
        SetHex(dialog.ReplaceHexEdit(), QStringLiteral("4445"));
        prompts.Answer(IDNO);
        dialog.ReplaceButton()->click();
        EXPECT_EQ(prompts.Count(), 3);
        // Nothing after the last occurrence: not found.
        doc.Select(8, 8);
        prompts.Answer(IDYES);
        dialog.ReplaceButton()->click();
        EXPECT_EQ(prompts.LastText(), kNotFound);
    });
    EXPECT_TRUE(doc.Doc().IsModified());
}

TEST(ReplaceCommands, ReplaceAllInFileAndSelection) {
    PromptScript prompts;
    auto doc = NewDoc(Bytes({0x41, 0x00, 0x41}));
    // Every view hears of all the replacements together, once.
    struct CountingView : CView {
        int updates = 0;
        void OnUpdate(CView*, long, QObject*) override { ++updates; }
    } counter;
    doc.Doc().AddView(&counter);
    const std::uint64_t revision = doc.Doc().GetRevision();
    WithDialog(doc, "A", [&](CReplaceDlg& dialog) {
        SetHex(dialog.ReplaceHexEdit(), QStringLiteral("4243"));
        prompts.Answer(IDYES);
        dialog.ReplaceAllButton()->click();
    });
    EXPECT_EQ(counter.updates, 1);
    EXPECT_GT(doc.Doc().GetRevision(), revision);
    doc.Doc().RemoveView(&counter);
    EXPECT_EQ(doc.Bytes(), Bytes({0x42, 0x43, 0x00, 0x42, 0x43}));
    EXPECT_EQ(prompts.LastText(), QStringLiteral("2 incidence de data replacé."));
    EXPECT_EQ(Selection(doc), std::make_pair(std::int64_t{3}, std::int64_t{5}));
    EXPECT_TRUE(doc.Doc().IsModified());

    // Selection scope: only occurrences wholly inside, the end following the
    // shrinking content.
    std::vector<unsigned char> content(80, '.');
    for (int at : {0, 10, 20, 30, 60, 70})
        content[size_t(at)] = 'A', content[size_t(at + 1)] = 'B';
    auto scoped = NewDoc(content);
    scoped.Select(10, 62); // 10 ... 61: "AB" at 60 is inside, at 70 not
    WithDialog(scoped, "", [&](CReplaceDlg& dialog) {
        SetHex(dialog.FindHexEdit(), QStringLiteral("4142"));
        SetHex(dialog.ReplaceHexEdit(), QStringLiteral("5A"));
        prompts.Answer(IDYES);
        dialog.ReplaceAllButton()->click();
    });
    EXPECT_EQ(prompts.LastText(), QStringLiteral("4 incidence de data replacé."));
    const std::vector<unsigned char> bytes = scoped.Bytes();
    EXPECT_EQ(bytes.size(), 76u);
    EXPECT_EQ(std::count(bytes.begin(), bytes.end(), 'Z'), 4);
    EXPECT_EQ(bytes[0], 'A');
    EXPECT_EQ(bytes[66], 'A'); // the one beyond the selection, moved back by 4
    EXPECT_EQ(Selection(scoped), std::make_pair(std::int64_t{57}, std::int64_t{58}));

    // One undo takes the whole run back, selection included; redo does it again.
    EditCommands::OnEditUndo(scoped.Doc(), scoped.View());
    EXPECT_EQ(scoped.Bytes(), content);
    EXPECT_EQ(Selection(scoped), std::make_pair(std::int64_t{10}, std::int64_t{62}));
    EditCommands::OnEditRedo(scoped.Doc(), scoped.View());
    EXPECT_EQ(scoped.Bytes(), bytes);
}

TEST(ReplaceCommands, EmptyFindAndReadOnlyChangeNothing) {
    PromptScript prompts;
    auto doc = NewDoc(Bytes({'A', 'B'}));
    doc.Select(1, 1);
    WithDialog(doc, "", [&](CReplaceDlg& dialog) {
        SetHex(dialog.ReplaceHexEdit(), QStringLiteral("5A"));
        for (QPushButton* button :
             {dialog.FindNextButton(), dialog.ReplaceButton(), dialog.ReplaceAllButton()}) {
            const int before = prompts.Count();
            button->click();
            EXPECT_EQ(prompts.Count(), before + 1);
            EXPECT_EQ(prompts.LastText(), kNothingToFind);
        }
    });
    EXPECT_EQ(doc.Bytes(), Bytes({'A', 'B'}));
    EXPECT_EQ(Selection(doc), std::make_pair(std::int64_t{1}, std::int64_t{1}));
    EXPECT_FALSE(doc.Doc().IsModified());

    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/ro.bin");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("xAxA");
    }
    auto readOnly = edittest::OpenDoc(path.toStdString(), 0x20);
    WithDialog(readOnly, "A", [&](CReplaceDlg& dialog) {
        SetHex(dialog.ReplaceHexEdit(), QStringLiteral("42"));
        dialog.ReplaceAllButton()->click();
    });
    EXPECT_TRUE(prompts.LastText().startsWith(QStringLiteral("Acces to ")))
        << prompts.LastText().toStdString();
    EXPECT_EQ(readOnly.Bytes(), Bytes({'x', 'A', 'x', 'A'}));
    EXPECT_FALSE(readOnly.Doc().IsModified());
}

TEST_F(FrameTest, FindAndReplaceAllByKeysReachTheDisk) {
    Start();
    CQuexoDoc* doc = Open(QByteArray::fromHex("016162024142036162"));
    ASSERT_NE(doc, nullptr);
    CHexGridWnd& grid = ActiveView()->GetGrid();
    grid.setFocus();
    Idle();
    EXPECT_FALSE(Action(ID_EDIT_FINDNEXT)->isEnabled());

    PromptScript prompts;
    DialogScript dialogs;
    // Ctrl+F: "ab" typed as text, case off, down; F3 goes on to the next one.
    dialogs.Then([](QDialog& dialog) {
        auto* find = qobject_cast<CFindDlg*>(&dialog);
        EXPECT_NE(find, nullptr);
        if (!find)
            return int(QDialog::Rejected);
        QTest::keyClicks(find->TextEdit(), QStringLiteral("ab"));
        find->accept();
        return find->result();
    });
    QTest::keyClick(&grid, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(grid.GetAnchor(), 1);
    Idle();
    EXPECT_TRUE(Action(ID_EDIT_FINDNEXT)->isEnabled());
    QTest::keyClick(&grid, Qt::Key_F3);
    EXPECT_EQ(grid.GetAnchor(), 4);

    // Ctrl+H: the find bytes are the remembered ones; "Remplacer Tous" by
    // the keyboard with case matched.
    dialogs.Then([&](QDialog& dialog) {
        auto* replace = qobject_cast<CReplaceDlg*>(&dialog);
        EXPECT_NE(replace, nullptr);
        if (!replace)
            return int(QDialog::Rejected);
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        EXPECT_EQ(replace->FindTextEdit()->text(), QStringLiteral("ab"));
        replace->ReplaceTextEdit()->setFocus();
        QTest::keyClicks(replace->ReplaceTextEdit(), QStringLiteral("xyz"));
        QTest::keyClick(&dialog, Qt::Key_A, Qt::AltModifier); // "&Assortir case"
        QTest::qWait(200); // a mnemonic clicks the box after a short animation
        EXPECT_TRUE(replace->MatchCaseBox()->isChecked());
        prompts.Answer(IDYES);
        // Alt+T is also "&Trouver Quoi": the shared mnemonic moves the focus
        // between the two, and Space presses the button.
        for (int i = 0; i < 3 && QApplication::focusWidget() != replace->ReplaceAllButton(); ++i)
            QTest::keyClick(&dialog, Qt::Key_T, Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), replace->ReplaceAllButton());
        QTest::keyClick(replace->ReplaceAllButton(), Qt::Key_Space);
        EXPECT_EQ(replace->CancelButton()->text(), QStringLiteral("Close"));
        dialog.reject();
        return int(QDialog::Rejected);
    });
    grid.SetCaret(0, true);
    grid.SetAnchor(0);
    Idle();
    QTest::keyClick(&grid, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(dialogs.Unexpected(), 0);
    EXPECT_EQ(prompts.LastText(), QStringLiteral("2 incidence de data replacé."));
    m_pMain->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pMain));
    grid.setFocus();
    Idle();
    QTest::keyClick(&grid, Qt::Key_S, Qt::ControlModifier);
    EXPECT_FALSE(doc->IsModified());
    QFile saved(m_dir.path() + QStringLiteral("/data.bin"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray::fromHex("0178797A0241420378797A"));
}

TEST(ReplaceCommands, CancelledReplaceAllKeepsWhatItReplaced) {
    for (const CancelBy how : kEveryCancel) {
        SCOPED_TRACE(testing::Message() << how);
        PromptScript prompts;
        const CancelOnShow cancel(how);
        auto doc = NewDoc(Bytes({'A', '.', 'A', '.', 'A'}));
        WithDialog(doc, "A", [&](CReplaceDlg& dialog) {
            SetHex(dialog.ReplaceHexEdit(), QStringLiteral("42"));
            dialog.ReplaceAllButton()->click();
        });
        // Cancelled at the first step, after the first replacement.
        EXPECT_TRUE(cancel.Sent());
        EXPECT_EQ(prompts.LastText(), QStringLiteral("1 incidence de data replacé."));
        EXPECT_EQ(doc.Bytes(), Bytes({'B', '.', 'A', '.', 'A'}));
        EXPECT_EQ(Selection(doc), std::make_pair(std::int64_t{0}, std::int64_t{1}));
        EXPECT_TRUE(doc.Doc().IsModified());
    }
}

// Past 1,000 pieces the loop writes its edits to disk: that flush shows in the
// progress under its own label, and cancelling it stops the run with the file
// on disk as it was and the replacements so far in the document.
TEST(ReplaceCommands, FlushInsideReplaceAllShowsProgressAndCancels) {
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/pairs.bin");
    // A write turns a few KiB around it into a memory piece: occurrences far
    // enough apart each add their own pieces.
    constexpr int kCount = 1500;
    constexpr int kSpacing = 5000;
    QByteArray original(kCount * kSpacing, '\0');
    for (int i = 0; i < kCount; ++i)
        original[i * kSpacing + 7] = 'A';
    {
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(original);
    }
    PromptScript prompts;
    prompts.Answer(IDYES).Answer(IDOK); // lengths differ; change of mode (flush)
    CProgress::SetDelayForTests(0);
    QStringList labels;
    CProgress::SetObserverForTests([&](CProgress& progress) {
        QProgressDialog* dialog = progress.Dialog();
        if (!dialog)
            return;
        labels.append(dialog->labelText());
        if (labels.back() == QStringLiteral("Enregistrement...") && !progress.Cancelled())
            CancelThroughWindow(*dialog, CancelBy::Button);
    });
    struct Restore {
        ~Restore() {
            CProgress::SetDelayForTests(-1);
            CProgress::SetObserverForTests(nullptr);
        }
    } restore;
    {
        auto doc = edittest::OpenDoc(path.toStdString(), 0x22);
        WithDialog(doc, "A", [&](CReplaceDlg& dialog) {
            SetHex(dialog.ReplaceHexEdit(), QStringLiteral("4242"));
            dialog.ReplaceAllButton()->click();
        });
        ASSERT_TRUE(labels.contains(QStringLiteral("Enregistrement...")));
        ASSERT_GE(prompts.Count(), 3);
        const QString last = prompts.LastText();
        const int count = last.section(QLatin1Char(' '), 0, 0).toInt();
        EXPECT_TRUE(last.endsWith(QStringLiteral("incidence de data replacé.")))
            << last.toStdString();
        EXPECT_GT(count, 100);
        EXPECT_LT(count, kCount);
        QFile onDisk(path);
        ASSERT_TRUE(onDisk.open(QIODevice::ReadOnly));
        EXPECT_EQ(onDisk.readAll(), original);
        const auto bytes = doc.Bytes();
        EXPECT_EQ(bytes.size(), std::size_t(original.size() + count));
        EXPECT_TRUE(doc.Doc().IsModified());
    }
    QDir folder(dir.path());
    EXPECT_EQ(folder.entryList(QDir::Files), QStringList{"pairs.bin"}); // no temporary left
}

TEST(ReplaceCommands, ReplaceAllSavingPartWayShowsInStepAndUndoesWhole) {
    // Occurrences a page apart (each becomes a piece of its own), so the run
    // passes the piece limit and saves.
    QTemporaryDir dir;
    const std::string path = (dir.path() + QStringLiteral("/blocks.bin")).toStdString();
    std::vector<unsigned char> original(1100 * 4096, '.');
    for (size_t at = 0; at < original.size(); at += 4096)
        original[at] = 'A', original[at + 1] = 'B';
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(original.data()), std::streamsize(original.size()));
    }
    auto doc = edittest::OpenDoc(path, 0x22);
    doc.File().EnableHistory(true);
    doc.Select(0, 0);
    struct CountingView : CView {
        int updates = 0;
        void OnUpdate(CView*, long, QObject*) override { ++updates; }
    } counter;
    doc.Doc().AddView(&counter);

    // What each prompt found on the screen when it came up.
    struct Seen {
        QString text;
        int updates;
        std::pair<std::int64_t, std::int64_t> selection;
    };
    std::vector<Seen> seen;
    const PromptService::Handler previous = PromptService::SetHandler([&](const PromptRequest& r) {
        seen.push_back({r.m_strText, counter.updates, Selection(doc)});
        return IDOK;
    });
    WithDialog(doc, "AB", [&](CReplaceDlg& dialog) {
        SetHex(dialog.ReplaceHexEdit(), QStringLiteral("5859"));
        dialog.ReplaceAllButton()->click();
    });
    PromptService::SetHandler(previous);
    doc.Doc().RemoveView(&counter);

    ASSERT_EQ(seen.size(), 2u) << (seen.empty() ? QString() : seen[0].text).toStdString();
    // Question 144: the views already show what was replaced before it.
    EXPECT_TRUE(seen[0].text.startsWith(QStringLiteral("Le fichier doit changer de mode")));
    EXPECT_EQ(seen[0].updates, 1);
    // The count comes before the selection moves to the last replacement.
    EXPECT_EQ(seen[1].text, QStringLiteral("1100 incidence de data replacé."));
    EXPECT_EQ(seen[1].selection, std::make_pair(std::int64_t{0}, std::int64_t{0}));
    const std::int64_t last = 1099 * 4096;
    EXPECT_EQ(Selection(doc), std::make_pair(last, last + 2));

    // One undo gives back every occurrence, those already written to disk too,
    // and saving then writes the original back.
    std::vector<unsigned char> replaced = original;
    for (size_t at = 0; at < replaced.size(); at += 4096)
        replaced[at] = 'X', replaced[at + 1] = 'Y';
    EXPECT_EQ(doc.Bytes(), replaced);
    EditCommands::OnEditUndo(doc.Doc(), doc.View());
    EXPECT_EQ(doc.Bytes(), original);
    doc.File().Flush();
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {}), original);
    EditCommands::OnEditRedo(doc.Doc(), doc.View());
    EXPECT_EQ(doc.Bytes(), replaced);
}
