#include "framework/CRecentFileList.h"

#include "platform/OsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace {
constexpr int kMaxDisplay = 60;

bool SameName(const QString& a, const QString& b) {
    return platform::SameFileName(QFile::encodeName(a).toStdString(),
                                  QFile::encodeName(b).toStdString());
}
} // namespace

void CRecentFileList::Add(const QString& path) {
    if (path.isEmpty())
        return;
    for (int i = 0; i < m_files.size(); ++i) {
        if (SameName(m_files[i], path)) {
            m_files.removeAt(i);
            break;
        }
    }
    m_files.prepend(path);
    while (m_files.size() > m_nSize)
        m_files.removeLast();
}

void CRecentFileList::Remove(int index) {
    if (index >= 0 && index < m_files.size())
        m_files.removeAt(index);
}

QString CRecentFileList::GetDisplayName(int index) const {
    const QString path = m_files.value(index);
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    QString name = info.absolutePath() == QDir::currentPath() ? info.fileName()
                                                              : QDir::toNativeSeparators(path);
    if (name.size() > kMaxDisplay) {
        // Keep the start and the file name; the middle gives way.
        const QString file = info.fileName();
        const int keep = qMax(3, kMaxDisplay - int(file.size()) - 4);
        name = name.left(keep) + QStringLiteral("…") + QDir::separator() + file;
    }
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name);
}

void CRecentFileList::ReadList(const QString& organization, const QString& application) {
    QSettings settings(organization, application);
    settings.beginGroup(QString::fromLatin1(kSection));
    m_files.clear();
    for (int i = 1; i <= m_nSize; ++i) {
        const QString path = settings.value(QStringLiteral("File%1").arg(i)).toString();
        if (!path.isEmpty())
            m_files.append(path);
    }
}

void CRecentFileList::WriteList(const QString& organization, const QString& application) const {
    QSettings settings(organization, application);
    settings.beginGroup(QString::fromLatin1(kSection));
    for (int i = 1; i <= m_nSize; ++i) {
        const QString key = QStringLiteral("File%1").arg(i);
        if (i <= m_files.size())
            settings.setValue(key, m_files[i - 1]);
        else
            settings.remove(key);
    }
}
