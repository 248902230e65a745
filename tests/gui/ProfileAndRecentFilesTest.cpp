// The settings profile, the recent-file list and the command line.
#include "DocumentTestSupport.h"

#include "framework/CCommandLineInfo.h"
#include "framework/PromptScript.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QSettings>
#include <QUrl>

TEST_F(DocumentTest, ProfileKeepsIntegersStringsAndExactBinaryValues) {
    const QString settings = QSettings("Tavrin Software", "QuexoPro").fileName();
    EXPECT_TRUE(settings.endsWith("/Tavrin Software/QuexoPro.conf")) << settings.toStdString();
    EXPECT_EQ(m_app->GetProfileInt("Settings", "OpenTextMode", 2), 2) << "default when absent";
    QByteArray placement(44, '\0');
    placement[0] = 44;
    placement[43] = '\xFF';
    EXPECT_TRUE(m_app->WriteProfileInt("Settings", "ToolBar", 0));
    EXPECT_TRUE(m_app->WriteProfileBinary("Settings", "WindowPos", placement));
    EXPECT_TRUE(m_app->WriteProfileString("Settings", "Name", "é"));

    TestApp other; // another run reads what this one wrote
    EXPECT_EQ(other.GetProfileInt("Settings", "ToolBar", 1), 0);
    QByteArray read;
    ASSERT_TRUE(other.GetProfileBinary("Settings", "WindowPos", &read));
    EXPECT_EQ(read, placement);
    EXPECT_FALSE(other.GetProfileBinary("Settings", "CursorWindow", &read));
    EXPECT_EQ(other.GetProfileString("Settings", "Name"), "é");
    EXPECT_TRUE(QFile::exists(settings));
}

TEST_F(DocumentTest, RecentFileListKeepsFourNewestAndSurvivesRestart) {
    PromptScript prompts;
    m_app->LoadStdProfileSettings(4);
    QStringList paths;
    for (const char* name : {"1.bin", "2.bin", "3.bin", "4.bin", "5.bin"}) {
        paths << Write(name, Binary());
        ASSERT_NE(Open(paths.back()), nullptr);
    }
    const CRecentFileList& list = m_app->GetRecentFileList();
    EXPECT_EQ(list.Files(), (QStringList{paths[4], paths[3], paths[2], paths[1]}));
    // Saving one under its own name again moves it up.
    m_app->AddToRecentFileList(paths[2]);
    EXPECT_EQ(list.Files(), (QStringList{paths[2], paths[4], paths[3], paths[1]}));
    EXPECT_EQ(list.GetDisplayName(0), "&1 " + paths[2]);

    m_app->ExitInstance();
    QSettings settings("Tavrin Software", "QuexoPro");
    EXPECT_EQ(settings.value("Recent File List/File1").toString(), paths[2]);
    EXPECT_EQ(settings.value("Recent File List/File4").toString(), paths[1]);

    TestApp next;
    next.LoadStdProfileSettings(4);
    EXPECT_EQ(next.GetRecentFileList().Files(), list.Files());
}

TEST_F(DocumentTest, RecentFileEntriesShowTheListAndOpenTheirFile) {
    PromptScript prompts;
    m_app->LoadStdProfileSettings(4);
    QList<QAction*> actions;
    for (unsigned i = 0; i < 4; ++i)
        actions << m_app->GetCommandAction(ID_FILE_MRU_FILE1 + i);
    m_app->OnIdle();
    EXPECT_EQ(actions[0]->text(), "Fichier Récent");
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_FALSE(actions[1]->isVisible());

    const QString path = Write("recent.bin", Binary());
    m_app->AddToRecentFileList(path);
    m_app->AddToRecentFileList(Path("gone.bin"));
    m_app->OnIdle();
    EXPECT_TRUE(actions[0]->isEnabled());
    EXPECT_EQ(actions[0]->text(), "&1 " + Path("gone.bin"));
    EXPECT_EQ(actions[1]->text(), "&2 " + path);
    EXPECT_TRUE(actions[1]->isVisible());
    EXPECT_FALSE(actions[2]->isVisible());

    m_app->ExecuteCommand(ID_FILE_MRU_FILE1 + 1);
    ASSERT_NE(ActiveDocument(), nullptr);
    EXPECT_EQ(ActiveDocument()->GetPathName(), path);
    // A file that is gone leaves the list after its failed open.
    m_app->ExecuteCommand(ID_FILE_MRU_FILE1 + 1);
    EXPECT_EQ(prompts.LastText(), Path("gone.bin") + " n'est pas trouvé.");
    EXPECT_EQ(m_app->GetRecentFileList().Files(), QStringList{path});
}

TEST(CommandLine, FileNamesAndPrintOptions) {
    CCommandLineInfo none;
    none.Parse({});
    EXPECT_EQ(none.m_nShellCommand, CCommandLineInfo::FileNew);

    CCommandLineInfo open;
    open.Parse({"/home/user/data.bin"});
    EXPECT_EQ(open.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(open.m_strFileName, "/home/user/data.bin");

    CCommandLineInfo print;
    print.Parse({"/P", "data.bin"});
    EXPECT_EQ(print.m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_EQ(print.m_strFileName, "data.bin");

    CCommandLineInfo printTo;
    printTo.Parse({"/pt", "data.bin", "Printer", "Driver", "Port"});
    EXPECT_EQ(printTo.m_nShellCommand, CCommandLineInfo::FilePrintTo);
    EXPECT_EQ(printTo.m_strPrinterName, "Printer");
    EXPECT_EQ(printTo.m_strPortName, "Port");
}

TEST_F(DocumentTest, DroppedFilesOpenAsDocuments) {
    PromptScript prompts;
    m_pMain->DragAcceptFiles();
    const QString first = Write("first.bin", Binary());
    const QString second = Write("second.bin", Binary());
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(first), QUrl::fromLocalFile(second)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_pMain, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m_pMain, &drop);
    EXPECT_EQ(DocumentCount(), 2);
    EXPECT_EQ(ActiveDocument()->GetPathName(), second);
}
