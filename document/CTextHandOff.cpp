#include "document/CTextHandOff.h"

#include "framework/Prompt.h"

#include <QFileInfo>

#ifdef _WIN32
#include "framework/CMDIFrameWnd.h"
#include "framework/CWinApp.h"

#include <QDir>

#include <windows.h>

#include <shellapi.h>
#else
#include "document/DesktopApplication.h"

#include <QCoreApplication>
#endif

#include <algorithm>
#include <vector>

namespace {
// The live instances, newest last.
std::vector<CTextHandOff*>& Instances() {
    static std::vector<CTextHandOff*> instances;
    return instances;
}
} // namespace

CTextHandOff::CTextHandOff() {
    Instances().push_back(this);
}

CTextHandOff::CTextHandOff(Fallback) {}

CTextHandOff::~CTextHandOff() {
    auto& instances = Instances();
    instances.erase(std::remove(instances.begin(), instances.end(), this), instances.end());
}

CTextHandOff& CTextHandOff::Current() {
    static CTextHandOff fallback{Fallback{}};
    return Instances().empty() ? fallback : *Instances().back();
}

#ifdef _WIN32

bool CTextHandOff::StartedByHandOff() {
    return false; // the text-file class is the system's editor, never this program
}

bool CTextHandOff::OpenInTextEditor(const QString& path) {
    // The open verb of the text-file class, whatever the file's own type: a
    // .bat or .reg file that looks like text is edited, never run or merged.
    const std::wstring file =
        QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()).toStdWString();
    CMDIFrameWnd* owner = AfxGetApp() ? AfxGetApp()->GetMainWnd() : nullptr;
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_CLASSNAME;
    info.hwnd = owner ? reinterpret_cast<HWND>(owner->winId()) : nullptr;
    info.lpVerb = L"open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOW;
    info.lpClass = L"txtfile";
    if (ShellExecuteExW(&info))
        return true;
    ReportSystemError(int(GetLastError()));
    return false;
}

#else

namespace {

QString WithFile(const char* text, const QString& file) {
    return QString::fromUtf8(text).arg(file);
}

} // namespace

bool CTextHandOff::StartedByHandOff() {
    return desktop::StartedByHandOff();
}

bool CTextHandOff::OpenInTextEditor(const QString& path) {
    const QString file = QFileInfo(path).absoluteFilePath();
    const desktop::LaunchResult result = desktop::OpenWithDefault(
        QStringLiteral("text/plain"), file, QCoreApplication::applicationFilePath());
    switch (result.m_status) {
    case desktop::LaunchStatus::Started:
        return true;
    case desktop::LaunchStatus::NoApplication:
        ReportSystemError(0); // the system has no text for a missing association
        break;
    case desktop::LaunchStatus::NoTerminal:
        AfxMessageBox(WithFile("%1\n\nL'éditeur de texte du bureau fonctionne dans un terminal, "
                               "et aucun terminal n'a été trouvé : le fichier ne peut pas "
                               "être ouvert comme texte.",
                               file),
                      MB_OK | MB_ICONEXCLAMATION);
        break;
    case desktop::LaunchStatus::UnsafeName:
        AfxMessageBox(WithFile("%1\n\nL'éditeur de texte du bureau ne peut pas recevoir ce nom "
                               "sans risque (son entrée place le nom du fichier entre "
                               "guillemets) : le fichier ne peut pas être ouvert comme texte.",
                               file),
                      MB_OK | MB_ICONEXCLAMATION);
        break;
    case desktop::LaunchStatus::ShellEntry:
        AfxMessageBox(WithFile("%1\n\nL'éditeur de texte du bureau fait exécuter le nom du "
                               "fichier par un interpréteur de commandes (son entrée le place "
                               "dans un script) : le fichier ne peut pas être ouvert comme texte.",
                               file),
                      MB_OK | MB_ICONEXCLAMATION);
        break;
    case desktop::LaunchStatus::Failed:
        AfxMessageBox(result.m_strDetail.isEmpty() ? QStringLiteral("Unknown Error")
                                                   : result.m_strDetail,
                      MB_OK);
        break;
    }
    return false;
}

#endif
