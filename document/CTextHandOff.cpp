#include "document/CTextHandOff.h"

#include "document/DesktopApplication.h"
#include "framework/Prompt.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>

namespace {
CTextHandOff* g_pCurrent = nullptr;
} // namespace

CTextHandOff::CTextHandOff() : m_pPrevious(g_pCurrent) {
    g_pCurrent = this;
}

CTextHandOff::~CTextHandOff() {
    if (g_pCurrent == this)
        g_pCurrent = m_pPrevious;
}

CTextHandOff& CTextHandOff::Current() {
    static CTextHandOff fallback;
    return g_pCurrent ? *g_pCurrent : fallback;
}

bool CTextHandOff::OpenInTextEditor(const QString& path) {
    const QString file = QFileInfo(path).absoluteFilePath();
#ifdef _WIN32
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        return true;
    ReportSystemError(0);
    return false;
#else
    const QString id = desktop::DefaultApplication(QStringLiteral("text/plain"));
    const std::optional<DesktopEntry> entry =
        id.isEmpty() ? std::nullopt : desktop::ReadDesktopEntry(desktop::FindDesktopFile(id));
    const std::optional<QStringList> command =
        entry ? desktop::CommandFor(*entry, file) : std::nullopt;
    if (!command) {
        ReportSystemError(0); // no application for plain text: the system has no text for that
        return false;
    }
    QString program = command->front();
    if (!QFileInfo(program).isAbsolute())
        program = QStandardPaths::findExecutable(program);
    if (program.isEmpty() || !QFileInfo(program).isExecutable()) {
        ReportSystemError(ENOENT);
        return false;
    }
    const QString folder =
        entry->m_strPath.isEmpty() ? QFileInfo(file).absolutePath() : entry->m_strPath;
    if (!QProcess::startDetached(program, command->mid(1), folder)) {
        ReportSystemError(0);
        return false;
    }
    return true;
#endif
}
