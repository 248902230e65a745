// The application object: the settings profile, the desktop registration, the
// document template and main frame, what the command line names, the About box
// and the web page command. It is also the text hand-off of the documents
// (open-text-file mode, text editor).
#pragma once

#include "app/CommandLine.h"
#include "document/CTextHandOff.h"
#include "framework/CWinApp.h"

#include <QStringList>

class CDocTemplate;
class CMainFrame;
class QUrl;

class CQuexoApp : public CWinApp, public CTextHandOff {
    Q_OBJECT
public:
    // `arguments`: the words after the program name, Qt's own options removed.
    explicit CQuexoApp(const QStringList& arguments = QStringList());
    ~CQuexoApp() override;

    bool InitInstance() override;
    int ExitInstance() override;
    // Opening as the framework does; "/p" and "/pt" print and end the program
    // with the print's exit status.
    bool ProcessShellCommand(CCommandLineInfo& info) override;

    void OnAppAbout();
    void OnHelpWebPage();

    // The system's text for the last error (errno) in a message box.
    static void ReportSystemError();

    CMainFrame* GetMainFrame() const;
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    CommandLineKind GetCommandLineKind() const { return m_request.kind; }

    // Handled here; the menus carry it.
    static constexpr unsigned ID_HELP_WEBPAGE = 32783;

protected:
    // The running program's file; the shortcut and the help page lie beside it.
    virtual QString ProgramFilePath() const;
    // Hands an address or a local page to the desktop; false when that failed.
    virtual bool OpenUrl(const QUrl& url);

private:
    // The arguments of the general form, for the framework's parser.
    QStringList GeneralArguments() const;

    QStringList m_arguments;
    CommandLineRequest m_request;
    CDocTemplate* m_pDocTemplate = nullptr;
    int m_nExitCode = 0;
};
