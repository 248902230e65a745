// The About box and the web page command: the shortcut beside the program,
// else the help page beside it, else nothing.
#include "AppTestSupport.h"

#include "app/CAboutDlg.h"
#include "framework/DialogScript.h"
#include "framework/PromptScript.h"
#include "framework/StdCommandIds.h"

#include <QLabel>

TEST_F(AppTest, AboutShowsTheBuildVersion) {
    ASSERT_TRUE(Start({}));
    QString title;
    QString version;
    QStringList texts;
    DialogScript dialogs;
    dialogs.Then([&](QDialog& dialog) {
        title = dialog.windowTitle();
        if (auto* field = dialog.findChild<QLabel*>(QLatin1String(CAboutDlg::kVersionFieldName)))
            version = field->text();
        for (QLabel* label : dialog.findChildren<QLabel*>())
            texts.append(label->text());
        dialog.accept();
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(m_app->ExecuteCommand(ID_APP_ABOUT));
    EXPECT_EQ(title, "A propos de Quexo");
    EXPECT_EQ(version, "2.1.14") << "the build's version, not the template's 2.0";
    EXPECT_TRUE(texts.contains("Quexo Pro Version"));
    EXPECT_EQ(dialogs.Unexpected(), 0);
}

class WebPageTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ASSERT_TRUE(Start({}));
    }
    void Shortcut(const QByteArray& text) { Write("bin/quexopro.url", text); }
    QString HelpPage() {
        QDir().mkpath(Path("bin/help"));
        return Write("bin/help/index.html", "<html></html>");
    }
    QStringList Run() {
        m_app->m_openedUrls.clear();
        EXPECT_TRUE(m_app->ExecuteCommand(CQuexoApp::ID_HELP_WEBPAGE));
        return m_app->m_openedUrls;
    }
};

TEST_F(WebPageTest, ShortcutAddressIsOpened) {
    HelpPage();
    Shortcut("[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n"
             "[InternetShortcut]\r\nIDList=\r\nURL=https://www.example.org/quexo/\r\n");
    EXPECT_EQ(Run(), QStringList{"https://www.example.org/quexo/"});
}

TEST_F(WebPageTest, HelpPageWhenTheShortcutIsMissingUnusableOrFails) {
    const QString page = QUrl::fromLocalFile(HelpPage()).toString();
    EXPECT_EQ(Run(), QStringList{page}) << "no shortcut";

    Shortcut("[InternetShortcut]\nURL=file:///bin/sh\n");
    EXPECT_EQ(Run(), QStringList{page}) << "only web addresses leave the shortcut";

    Shortcut("[Other]\nURL=https://www.example.org/\n");
    EXPECT_EQ(Run(), QStringList{page}) << "URL outside its group";

    Shortcut("[InternetShortcut]\nURL=https://www.example.org/\n");
    m_app->m_bOpenSucceeds = false;
    EXPECT_EQ(Run(), (QStringList{"https://www.example.org/", page}));
}

TEST_F(WebPageTest, InstalledHelpPageInTheDataFolder) {
    QDir().mkpath(Path("share/quexopro/help"));
    const QString page = Write("share/quexopro/help/index.html", "<html></html>");
    EXPECT_EQ(Run(), QStringList{QUrl::fromLocalFile(page).toString()});
}

TEST_F(WebPageTest, NothingAtAllIsSilent) {
    PromptScript prompts;
    EXPECT_TRUE(Run().isEmpty());
    Shortcut("[InternetShortcut]\nURL=https://www.example.org/\n");
    m_app->m_bOpenSucceeds = false;
    EXPECT_EQ(Run().size(), 1);
    EXPECT_EQ(prompts.Count(), 0);
}
