#include "document/CTextHandOff.h"

#include "document/DesktopApplication.h"
#include "framework/Prompt.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include <algorithm>
#include <cerrno>
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
