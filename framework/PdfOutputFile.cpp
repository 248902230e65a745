#include "framework/PdfOutputFile.h"

#include "framework/CDocument.h"
#include "platform/OsFile.h"

#include <QFile>
#include <QFileInfo>
#include <QPrinter>

namespace {

const char* const kSameFile =
    "Le fichier PDF « %1 » est le fichier à imprimer : choisissez un autre nom de fichier.";
const char* const kNotAFile =
    "« %1 » n'est pas un fichier ordinaire : le PDF ne peut pas y être écrit.";

// The file a name finally leads to: links followed, or for a name that does
// not exist yet, its folder's links followed and the name kept.
std::string ResolvedTarget(const std::string& name) {
    std::string full;
    if (!platform::FullPath(name, &full))
        full = name;
    std::string resolved;
    if (platform::ResolveLinks(full, &resolved))
        return resolved;
    std::string folder;
    if (!platform::ResolveLinks(platform::FolderOf(full), &folder))
        return full;
    const std::string::size_type slash = full.find_last_of("/\\");
    const std::string leaf = slash == std::string::npos ? full : full.substr(slash + 1);
    return folder.back() == '/' || folder.back() == '\\' ? folder + leaf : folder + '/' + leaf;
}

bool PrintsIntoPdfFile(const QPrinter& printer) {
    return printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty();
}

} // namespace

QString PdfOutputRefusal(const QString& output, const QString& source) {
    const std::string target = ResolvedTarget(EncodePath(output));
    bool exists = false;
    const bool regular = platform::IsRegularName(target, &exists);
    if (exists && !regular)
        return QString::fromUtf8(kNotAFile).arg(output);
    if (source.isEmpty())
        return {};
    const std::string printed = EncodePath(source);
    const bool same = exists ? platform::SameFileOnDisk(target, printed)
                             : platform::SameFileName(target, ResolvedTarget(printed));
    return same ? QString::fromUtf8(kSameFile).arg(output) : QString();
}

CPdfOutputFile::CPdfOutputFile(QPrinter& printer) : m_printer(printer) {
    if (!PrintsIntoPdfFile(printer))
        return;
    m_strOutput = printer.outputFileName();
    m_strTarget = ResolvedTarget(EncodePath(m_strOutput));
    platform::FileHandle handle = platform::kNoFile;
    m_nError =
        platform::CreateTempFile(platform::FolderOf(m_strTarget), "qxo", &m_strTemp, &handle);
    if (m_nError != 0) {
        m_strTemp.clear();
        return;
    }
    platform::CloseFile(handle);
    printer.setOutputFileName(QFile::decodeName(m_strTemp.c_str()));
}

CPdfOutputFile::~CPdfOutputFile() {
    if (m_strOutput.isEmpty())
        return;
    m_printer.setOutputFileName(m_strOutput);
    if (!m_strTemp.empty())
        platform::RemoveFile(m_strTemp);
}

bool CPdfOutputFile::Commit() {
    if (m_strTemp.empty())
        return m_strOutput.isEmpty();
    // The temporary file is private to its owner; the PDF gets the rights of
    // the file it replaces, or those of an ordinary new document.
    const QString temp = QFile::decodeName(m_strTemp.c_str());
    const QString target = QFile::decodeName(m_strTarget.c_str());
    const QFileDevice::Permissions rights =
        QFileInfo::exists(target)
            ? QFile::permissions(target)
            : QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser | QFileDevice::ReadGroup | QFileDevice::ReadOther;
    QFile::setPermissions(temp, rights);
    // A failure to sync the folder comes after the rename: the PDF is in place.
    if (platform::ReplaceFile(m_strTemp, m_strTarget) != 0 && QFileInfo::exists(temp))
        return false;
    m_strTemp.clear();
    return true;
}
