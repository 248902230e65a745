// A text file named on the command line whose hand-off fails is shown in hex
// instead of ending the program without a word.
#ifndef _WIN32 // the desktop entries and GIO of freedesktop systems
#include "AppTestSupport.h"

#include "framework/PromptScript.h"

TEST_F(AppTest, FailedHandOffFromTheCommandLineShowsTheFileInHex) {
    // The desktop's editor runs in a terminal, and there is none.
    QDir().mkpath(ApplicationsFolder());
    QFile entry(ApplicationsFolder() + "/vim.desktop");
    ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
    entry.write("[Desktop Entry]\nType=Application\nName=Vim\nExec=/bin/true %f\nTerminal=true\n");
    entry.close();
    Write("sysconfig/mimeapps.list", "[Default Applications]\ntext/plain=vim.desktop\n");
    const QByteArray oldPath = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(Path("bin")));

    PromptScript prompts;
    const QString path = Write("notes.txt", Text());
    m_app = std::make_unique<TestQuexoApp>(QStringList{path}, Program());
    m_app->m_nOpenTextMode = 0;
    const bool started = m_app->InitInstance();
    qputenv("PATH", oldPath);
    EXPECT_TRUE(started);
    ASSERT_EQ(prompts.Count(), 1);
    EXPECT_TRUE(prompts.LastText().contains("terminal")) << prompts.LastText().toStdString();
    EXPECT_TRUE(prompts.LastText().startsWith(path));
    EXPECT_EQ(m_app->GetOpenDocumentCount(), 1) << "the file is shown in hex";
    EXPECT_FALSE(m_app->m_bHexWhenHandOffFails) << "only for the command line's file";
}

#endif
