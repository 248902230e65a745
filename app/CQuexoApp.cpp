#include "app/CQuexoApp.h"

#include "app/CAboutDlg.h"
#include "app/CommandLinePrint.h"
#include "app/InternetShortcut.h"
#include "app/ProgramRegistration.h"
#include "commands/ViewCommands.h"
#include "display/CQuexoView.h"
#include "document/CQuexoDoc.h"
#include "frames/CChildFrame.h"
#include "frames/CMainFrame.h"
#include "framework/CCommandLineInfo.h"
#include "framework/CDocTemplate.h"
#include "framework/CommandGuard.h"
#include "framework/Prompt.h"
#include "framework/StdCommandIds.h"
#include "framework/ViewPrinting.h"
#include "resources/StringTable.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

namespace {

// A shortcut is a few lines; anything much larger is not one.
constexpr qint64 kMaxShortcutSize = 64 * 1024;

const QString kShortcutFileName = QStringLiteral("quexopro.url");
// Beside the program in the build folder; in the data folder once installed
// (<prefix>/bin/quexo and <prefix>/share/quexopro/help/index.html).
const QString kHelpPages[] = {QStringLiteral("help/index.html"),
                              QStringLiteral("../share/quexopro/help/index.html")};

std::vector<std::string> ToStdArguments(const QStringList& arguments) {
    std::vector<std::string> words;
    words.reserve(size_t(arguments.size()));
    for (const QString& argument : arguments)
        words.push_back(argument.toStdString());
    return words;
}

bool IsRegistrationWord(const QString& argument) {
    return argument.compare(QLatin1String("/install"), Qt::CaseInsensitive) == 0 ||
           argument.compare(QLatin1String("/uninstall"), Qt::CaseInsensitive) == 0;
}

} // namespace

CQuexoApp::CQuexoApp(const QStringList& arguments)
    : m_arguments(arguments), m_request(ClassifyCommandLine(ToStdArguments(arguments))) {
    OnCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    OnCommand(ID_HELP_WEBPAGE, [this] { OnHelpWebPage(); });
    OnCommand(ID_FILE_PRINT_SETUP, [this] { AfxPrintSetup(GetMainWnd()); });
}

CQuexoApp::~CQuexoApp() = default;

CMainFrame* CQuexoApp::GetMainFrame() const {
    return qobject_cast<CMainFrame*>(GetMainWnd());
}

bool CQuexoApp::InitInstance() {
    SetRegistryKey(QStringLiteral("Tavrin Software"));
    LoadStdProfileSettings(4);
    CQuexoView::LoadDisplaySettings();
    // The private clipboard format is a MIME type here: nothing to register.

    const std::string program =
        QFile::encodeName(QDir::toNativeSeparators(ProgramFilePath())).toStdString();
    if (m_request.kind == CommandLineKind::Uninstall) {
        UpdateProgramRegistration(DesktopRegistrationRequest::Uninstall, program);
        return false;
    }
    if (m_request.kind == CommandLineKind::Install) {
        UpdateProgramRegistration(DesktopRegistrationRequest::Install, program);
        return false;
    }
    if (!UpdateProgramRegistration(DesktopRegistrationRequest::Refresh, program))
        return false;

    m_pDocTemplate = AddDocTemplate(
        CMultiDocTemplate::Create<CQuexoDoc, CChildFrame, CQuexoView>(129, ViewCommands::AttachTo));

    auto frame = std::make_unique<CMainFrame>();
    if (!frame->LoadFrame())
        return false;
    if (frame->GetTitle().isEmpty())
        frame->SetTitle(QString::fromUtf8(res::LoadString(128)));
    frame->m_bAddToTitle = true;
    SetMainWnd(frame.release());

    CCommandLineInfo info;
    info.Parse(GeneralArguments());
    if (info.m_nShellCommand != CCommandLineInfo::FileNew) {
        bool processed = false;
        m_bHexWhenHandOffFails = true;
        RunGuarded([&] { processed = ProcessShellCommand(info); });
        m_bHexWhenHandOffFails = false;
        if (!processed)
            return false;
    }

    CMainFrame* mainFrame = GetMainFrame();
    mainFrame->RestoreWindowState();
    if (mainFrame->isVisible())
        mainFrame->repaint();
    mainFrame->DragAcceptFiles(true);
    return true;
}

int CQuexoApp::ExitInstance() {
    // An uninstall run leaves the settings as the last normal run stored them.
    if (m_request.kind == CommandLineKind::Uninstall)
        return 0;
    CQuexoView::SaveDisplaySettings();
    const int exitCode = CWinApp::ExitInstance();
    return m_nExitCode != 0 ? m_nExitCode : exitCode;
}

bool CQuexoApp::ProcessShellCommand(CCommandLineInfo& info) {
    if (info.m_nShellCommand != CCommandLineInfo::FilePrint &&
        info.m_nShellCommand != CCommandLineInfo::FilePrintTo)
        return CWinApp::ProcessShellCommand(info);
    m_nExitCode = PrintFromCommandLine(*this, info);
    return false; // printing ends the program
}

QStringList CQuexoApp::GeneralArguments() const {
    // "/install" and "/uninstall" beside other words are options that ask for
    // nothing, not file names.
    QStringList general;
    for (const QString& argument : m_arguments)
        if (!IsRegistrationWord(argument))
            general.append(argument);
    return general;
}

void CQuexoApp::OnAppAbout() {
    CAboutDlg about(GetMainWnd());
    about.DoModal();
}

void CQuexoApp::OnHelpWebPage() {
    const QDir folder = QFileInfo(ProgramFilePath()).absoluteDir();

    QFile shortcut(folder.filePath(kShortcutFileName));
    if (shortcut.open(QIODevice::ReadOnly)) {
        const std::optional<std::string> address =
            InternetShortcutUrl(shortcut.read(kMaxShortcutSize).toStdString());
        if (address && IsWebAddress(*address)) {
            const QUrl url(QString::fromStdString(*address), QUrl::StrictMode);
            if (url.isValid() && OpenUrl(url))
                return;
        }
    }

    for (const QString& name : kHelpPages) {
        const QFileInfo page(folder.filePath(name));
        if (page.isFile()) {
            OpenUrl(QUrl::fromLocalFile(QDir::cleanPath(page.absoluteFilePath())));
            return;
        }
    }
}

void CQuexoApp::ReportSystemError() {
    ::ReportSystemError(errno);
}

QString CQuexoApp::ProgramFilePath() const {
    return QCoreApplication::applicationFilePath();
}

bool CQuexoApp::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}
