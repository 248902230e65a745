// A small application object that starts the document framework: the profile,
// the document template, the main frame with a File and a Window menu, and the
// file named on the command line.
#include "display/CQuexoView.h"
#include "document/CQuexoDoc.h"
#include "document/CTextHandOff.h"
#include "document/DocumentCommandIds.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CDocTemplate.h"
#include "framework/CMDIChildWnd.h"
#include "framework/CMDIFrameWnd.h"
#include "framework/CWinApp.h"
#include "framework/StdCommandIds.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QKeySequence>
#include <QMenuBar>

namespace {

class CQuexoApp : public CWinApp, public CTextHandOff {
public:
    bool InitInstance() override {
        SetRegistryKey(QStringLiteral("Tavrin Software"));
        LoadStdProfileSettings(4);
        m_nOpenTextMode = GetProfileInt(QStringLiteral("Settings"), QStringLiteral("OpenTextMode"),
                                        m_nOpenTextMode);

        AddDocTemplate(CMultiDocTemplate::Create<CQuexoDoc, CMDIChildWnd, CQuexoView>(129));

        auto* frame = new CMDIFrameWnd;
        frame->SetTitle(QString::fromUtf8(res::LoadString(128)).isEmpty()
                            ? QStringLiteral("Quexo Pro fr")
                            : QString::fromUtf8(res::LoadString(128)));
        BuildMenus(frame);
        SetMainWnd(frame);

        CCommandLineInfo info;
        ParseCommandLine(info);
        if (info.m_nShellCommand != CCommandLineInfo::FileNew && !ProcessShellCommand(info))
            return false;
        frame->resize(900, 600);
        frame->show();
        OnIdle();
        return true;
    }

    int ExitInstance() override {
        WriteProfileInt(QStringLiteral("Settings"), QStringLiteral("OpenTextMode"),
                        m_nOpenTextMode);
        return CWinApp::ExitInstance();
    }

private:
    void Add(QMenu* menu, unsigned id, const QString& text,
             const QKeySequence& shortcut = QKeySequence()) {
        QAction* action = GetCommandAction(id);
        action->setText(text);
        if (!shortcut.isEmpty())
            action->setShortcut(shortcut);
        menu->addAction(action);
    }

    void BuildMenus(CMDIFrameWnd* frame) {
        QMenu* file = frame->menuBar()->addMenu(QStringLiteral("&Fichier"));
        Add(file, ID_FILE_NEW, QStringLiteral("&Nouveau..."),
            QKeySequence(QStringLiteral("Ctrl+N")));
        Add(file, ID_FILE_OPEN, QStringLiteral("&Ouvrir..."),
            QKeySequence(QStringLiteral("Ctrl+O")));
        Add(file, ID_FILE_CLOSE, QStringLiteral("&Fermer"));
        Add(file, ID_FILE_SAVE, QStringLiteral("&Enregistrer..."),
            QKeySequence(QStringLiteral("Ctrl+S")));
        Add(file, ID_FILE_SAVE_AS, QStringLiteral("Enregistrer &Sous..."));
        file->addSeparator();
        Add(file, ID_FILE_EDITASTEXT, QStringLiteral("Fermer et Editer comme &Texte..."),
            QKeySequence(QStringLiteral("Ctrl+T")));
        file->addSeparator();
        for (unsigned i = 0; i < 4; ++i)
            Add(file, ID_FILE_MRU_FILE1 + i, QStringLiteral("Fichier Récent"));
        file->addSeparator();
        Add(file, ID_APP_EXIT, QStringLiteral("&Quitter"));
        QMenu* window = frame->menuBar()->addMenu(QStringLiteral("&Fenêtre"));
        Add(window, ID_WINDOW_NEW, QStringLiteral("&Nouvelle fenêtre"));
        Add(window, ID_WINDOW_CASCADE, QStringLiteral("&Cascade"));
        Add(window, ID_WINDOW_TILE_HORZ, QStringLiteral("&Titre"));
        Add(window, ID_WINDOW_ARRANGE, QStringLiteral("&Arranger les Icônes"));
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CQuexoApp app;
    return app.Run();
}
