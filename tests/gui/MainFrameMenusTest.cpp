// The main frame's commands: the two menus and their switch, the accelerators,
// the toolbar, the commands that stay disabled, the cursor data window key,
// the status bar's message pane, the title and the maximized document windows.
#include "FrameTestSupport.h"

#include "commands/CChecksumDlg.h"
#include "display/DisplayGlobals.h"
#include "display/ViewCommandIds.h"
#include "frames/FrameCommandIds.h"
#include "framework/DialogScript.h"
#include "framework/StdCommandIds.h"
#include "resources/StringTable.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QStatusTipEvent>
#include <QToolBar>

namespace {

QStringList Titles(QMenuBar* bar) {
    QStringList titles;
    for (QAction* action : bar->actions())
        titles << action->text();
    return titles;
}

QMenu* Popup(QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions())
        if (action->text() == title)
            return action->menu();
    return nullptr;
}

// Entry texts of a popup, "-" for a separator, hidden entries left out.
QStringList Entries(QMenu* menu) {
    QStringList texts;
    if (!menu)
        return texts;
    for (QAction* action : menu->actions())
        if (action->isSeparator())
            texts << QStringLiteral("-");
        else if (action->isVisible())
            texts << action->text();
    return texts;
}

} // namespace

TEST_F(FrameTest, MenusSwitchWithTheFirstAndLastDocument) {
    Start();
    QMenuBar* bar = m_pMain->menuBar();
    const QStringList none{"&Fichier", "&Affichage", "&Aide"};
    const QStringList some{"&Fichier", "&Edition", "&Affichage", "&Fenêtre", "&Aide"};
    EXPECT_EQ(Titles(bar), none);
    EXPECT_EQ(Entries(Popup(bar, "&Fichier")),
              QStringList({"&Nouveau...\tCtrl+N", "&Ouvrir...\tCtrl+O", "-",
                           "Options d'I&mpression", "-", "Fichier Récent", "-", "&Quitter"}));
    EXPECT_EQ(Entries(Popup(bar, "&Affichage")), QStringList({"Barre de &Statut"}));
    EXPECT_EQ(Entries(Popup(bar, "&Aide")),
              QStringList({"Quexo Web &Page", "-", "A &propos de Quexo..."}));

    CQuexoDoc* first = Open(QByteArray("\x01\x02", 2), QStringLiteral("a.bin"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Titles(bar), some);
    EXPECT_TRUE(m_pMain->IsDocumentMenuShown());
    ASSERT_NE(Open(QByteArray("\x03", 1), QStringLiteral("b.bin")), nullptr);
    first->OnCloseDocument();
    Idle();
    EXPECT_EQ(Titles(bar), some) << "one document is still open";
    m_app->CloseAllDocuments();
    Idle();
    EXPECT_EQ(Titles(bar), none);
}

TEST_F(FrameTest, DocumentMenuEntriesKeepTheirTexts) {
    Start();
    ASSERT_NE(Open(QByteArray("\x01", 1)), nullptr);
    Idle(); // update handlers must not rename entries
    QMenuBar* bar = m_pMain->menuBar();
    EXPECT_EQ(
        Entries(Popup(bar, "&Edition")),
        QStringList({"&Annuler\tCtrl+Z", "&Rétablir\tCtrl+Y", "-", "Co&uper\tCtrl+X",
                     "&Copier\tCtrl+C", "&Coller\tCtrl+V", "&Suprrimer...\tSuppr",
                     "&Inserer...\tIns", "-", "&Aller à...\tCtrl+G", "-", "&Trouver...\tCtrl+F",
                     "Rec&hercher tout...\tCtrl+Shift+F", "Trouver &Suivant\tF3",
                     "&Remplacer...\tCtrl+H", "-", "S&ommes de contrôle..."}));
    EXPECT_EQ(Entries(Popup(bar, "&Affichage")),
              QStringList({"Donnée du &Curseur\tCtrl+D", "&Barre d'outils", "Barre de &Statut", "-",
                           "&Options...", "&Police.."}));
    EXPECT_EQ(Entries(Popup(bar, "&Fenêtre")),
              QStringList({"&Nouvelle fenêtre", "&Cascade", "&Titre", "&Arranger les Icônes"}));
    const QStringList file = Entries(Popup(bar, "&Fichier"));
    ASSERT_EQ(file.size(), 16);
    EXPECT_EQ(file.mid(0, 13),
              QStringList({"&Nouveau...\tCtrl+N", "&Ouvrir...\tCtrl+O", "&Fermer",
                           "&Enregistrer...\tCtrl+S", "Enregistrer &Sous...", "&Recharger\tF5", "-",
                           "Fermer et Editer comme &Texte...\tCtrl+T", "-", "I&mprimer...\tCtrl+P",
                           "Aperçu avant impression", "Options d'I&mpression", "-"}));
    EXPECT_TRUE(file[13].endsWith(QLatin1String("data.bin"))) << "the recent-file list";
    EXPECT_EQ(file.mid(14), QStringList({"-", "&Quitter"}));
}

TEST_F(FrameTest, WindowMenuListsTheDocumentWindows) {
    Start();
    ASSERT_NE(Open(QByteArray("\x01", 1), QStringLiteral("a.bin")), nullptr);
    ASSERT_NE(Open(QByteArray("\x02", 1), QStringLiteral("b.bin")), nullptr);
    QMenu* window = Popup(m_pMain->menuBar(), QStringLiteral("&Fenêtre"));
    ASSERT_NE(window, nullptr);
    emit window->aboutToShow();
    const QStringList entries = Entries(window);
    ASSERT_EQ(entries.size(), 7);
    EXPECT_EQ(entries.mid(4), QStringList({"-", "&1 a.bin", "&2 b.bin"}));
    QAction* firstEntry = window->actions().at(5);
    EXPECT_FALSE(firstEntry->isChecked());
    EXPECT_TRUE(window->actions().at(6)->isChecked()) << "the active window";
    firstEntry->trigger();
    Idle();
    EXPECT_EQ(m_pMain->GetActiveDocument()->GetTitle(), QStringLiteral("a.bin"));
    EXPECT_TRUE(m_pMain->MDIGetActive()->isMaximized());
}

TEST_F(FrameTest, ChecksumsEntryReachesTheActiveView) {
    Start();
    ASSERT_NE(Open(QByteArray(16, 'x')), nullptr);
    EXPECT_TRUE(Action(ID_EDIT_CHECKSUMS)->isEnabled());
    const int hex = g_bHexAddress;
    g_bHexAddress = 1;
    DialogScript dialogs;
    QString range;
    dialogs.Then([&](QDialog& dialog) {
        if (auto* sums = qobject_cast<CChecksumDlg*>(&dialog))
            range = sums->RangeLabel()->text();
        return int(QDialog::Rejected);
    });
    Action(ID_EDIT_CHECKSUMS)->trigger();
    g_bHexAddress = hex;
    EXPECT_EQ(range, QStringLiteral("Fichier entier, 16 octets de 0x0 à 0xF"));
    EXPECT_EQ(dialogs.Unexpected(), 0);
}

TEST_F(FrameTest, CutFollowsTheSelection) {
    Start();
    CQuexoDoc* doc = Open(QByteArray(16, 'x'));
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(Action(ID_EDIT_CUT)->isEnabled());
    EXPECT_FALSE(Action(ID_EDIT_UNDO)->isEnabled());
    ActiveView()->GetGrid().SetAnchor(4);
    Idle();
    EXPECT_TRUE(Action(ID_EDIT_CUT)->isEnabled());
    CHexGridWnd& grid = ActiveView()->GetGrid();
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_X, Qt::ControlModifier);
    Idle();
    EXPECT_EQ(doc->GetPieceFile()->GetLength(), 12);
    EXPECT_FALSE(Action(ID_EDIT_CUT)->isEnabled());
    QTest::keyClick(&grid, Qt::Key_Backspace, Qt::AltModifier);
    Idle();
    EXPECT_EQ(doc->GetPieceFile()->GetLength(), 16);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(FrameTest, AcceleratorsAreUniqueAndWorkWithEitherMenu) {
    Start();
    // Two commands on one key would make the key do nothing at all.
    QSet<QString> keys;
    for (QAction* action : m_pMain->actions())
        for (const QKeySequence& key : action->shortcuts())
            EXPECT_FALSE(keys.contains(key.toString())) << key.toString().toStdString();
    for (QAction* action : m_pMain->actions())
        for (const QKeySequence& key : action->shortcuts())
            keys.insert(key.toString());
    for (const char* key : {"Ctrl+Ins", "Shift+Ins", "Shift+Del", "Alt+Backspace", "F6", "Shift+F6",
                            "Del", "Ins", "F3", "Ctrl+T"})
        EXPECT_TRUE(keys.contains(QKeySequence(QLatin1String(key)).toString())) << key;
    EXPECT_EQ(Action(ID_EDIT_COPY)->shortcuts().size(), 2);
    EXPECT_EQ(Action(ID_EDIT_PASTE)->shortcuts().size(), 2);

    // Ctrl+N works with the menu of the state without documents.
    ASSERT_FALSE(m_pMain->IsDocumentMenuShown());
    QTest::keyClick(m_pMain, Qt::Key_N, Qt::ControlModifier);
    Idle();
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 1);
    EXPECT_TRUE(m_pMain->IsDocumentMenuShown());
}

TEST_F(FrameTest, CtrlDTogglesTheCursorWindowAndItsCheckMark) {
    Start();
    ASSERT_NE(Open(QByteArray("\x01", 1)), nullptr);
    CCursorDataDlg* cursor = m_pMain->GetCursorDataWnd();
    QAction* action = Action(ID_VIEW_CURSORDATA);
    ASSERT_TRUE(cursor->isVisible());
    EXPECT_TRUE(action->isChecked());

    CHexGridWnd& grid = ActiveView()->GetGrid();
    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_D, Qt::ControlModifier);
    Idle();
    EXPECT_FALSE(cursor->isVisible());
    EXPECT_FALSE(action->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), &grid) << "typing goes on in the document";

    QTest::keyClick(&grid, Qt::Key_D, Qt::ControlModifier);
    Idle();
    EXPECT_TRUE(cursor->isVisible());
    EXPECT_TRUE(action->isChecked());
    EXPECT_EQ(QApplication::activeWindow(), m_pMain);
}

TEST_F(FrameTest, ToolbarButtonsInOrderWithIcons) {
    Start();
    QToolBar* bar = m_pMain->GetToolBar();
    ASSERT_TRUE(bar->isVisible());
    QList<unsigned> ids;
    for (QAction* action : bar->actions()) {
        ids << (action->isSeparator() ? 0u : action->data().toUInt());
        if (!action->isSeparator()) {
            EXPECT_FALSE(action->icon().isNull()) << action->data().toUInt();
            EXPECT_FALSE(action->toolTip().isEmpty());
        }
    }
    EXPECT_EQ(ids, QList<unsigned>({57600, 57601, 57603, 32779, 0, 57635, 57634, 57637, 0, 57643,
                                    57644, 0, 57636, 0, 32781}));
    EXPECT_EQ(Action(ID_EDIT_COPY)->toolTip(), QStringLiteral("Copier (Ctrl+C)"));
}

TEST_F(FrameTest, MessagePaneShowsReadyOrTheHoveredPrompt) {
    Start();
    EXPECT_EQ(Pane(0), QStringLiteral("Prèt"));
    QAction* action = Action(ID_VIEW_CURSORDATA);
    action->showStatusText(m_pMain);
    EXPECT_EQ(m_pMain->GetStatusBar()->currentMessage(), QStringLiteral("Fenêtre Données curseur"));
    EXPECT_FALSE(m_pMain->GetStatusBar()->Pane(0)->isVisible()) << "the prompt covers it";
    QStatusTipEvent leave{QString()};
    QCoreApplication::sendEvent(m_pMain, &leave);
    EXPECT_TRUE(m_pMain->GetStatusBar()->Pane(0)->isVisible());

    // The panes are as wide as their longest texts.
    for (int pane : {1, 2}) {
        QLabel* label = m_pMain->GetStatusBar()->Pane(pane);
        const QString sample = QString::fromUtf8(res::LoadString(pane == 1 ? 131 : 132));
        EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(sample));
    }
}

TEST_F(FrameTest, TitleNamesTheActiveDocument) {
    Start();
    EXPECT_EQ(m_pMain->windowTitle(), QStringLiteral("Quexo Pro fr"));
    ASSERT_NE(Open(QByteArray("\x01", 1), QStringLiteral("doc.bin")), nullptr);
    EXPECT_EQ(m_pMain->windowTitle(), QStringLiteral("Quexo Pro fr - [doc.bin]"));
    m_pMain->MDIGetActive()->showNormal();
    Idle();
    EXPECT_EQ(m_pMain->windowTitle(), QStringLiteral("Quexo Pro fr - doc.bin"));
    m_app->CloseAllDocuments();
    Idle();
    EXPECT_EQ(m_pMain->windowTitle(), QStringLiteral("Quexo Pro fr"));
}

TEST_F(FrameTest, DocumentWindowsAlwaysOpenMaximized) {
    Start();
    ASSERT_NE(Open(QByteArray("\x01", 1), QStringLiteral("a.bin")), nullptr);
    CMDIChildWnd* first = m_pMain->MDIGetActive();
    ASSERT_TRUE(first->isMaximized());
    first->showNormal();
    Idle();
    ASSERT_NE(Open(QByteArray("\x02", 1), QStringLiteral("b.bin")), nullptr);
    EXPECT_TRUE(m_pMain->MDIGetActive()->isMaximized());
    first->ActivateFrame(SW_SHOWNORMAL);
    EXPECT_TRUE(first->isMaximized()) << "whatever show command it is given";
}
