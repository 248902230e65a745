#include "document/DesktopApplication.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QStandardPaths>
#include <QTextStream>

namespace desktop {

namespace {

QString HomePath(const char* variable, const QString& fallback) {
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : QDir::homePath() + fallback;
}

QStringList PathList(const char* variable, const QString& fallback) {
    QStringList result;
    QString value = qEnvironmentVariable(variable);
    if (value.isEmpty())
        value = fallback;
    for (const QString& part : value.split(QLatin1Char(':'), Qt::SkipEmptyParts))
        if (QDir::isAbsolutePath(part))
            result.append(part);
    return result;
}

QStringList ConfigFolders() {
    QStringList folders{HomePath("XDG_CONFIG_HOME", QStringLiteral("/.config"))};
    folders += PathList("XDG_CONFIG_DIRS", QStringLiteral("/etc/xdg"));
    return folders;
}

QStringList DataFolders() {
    QStringList folders{HomePath("XDG_DATA_HOME", QStringLiteral("/.local/share"))};
    folders += PathList("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
    return folders;
}

// Undoes the escapes of a desktop-file string value.
QString Unescape(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (int i = 0; i < value.size(); ++i) {
        if (value[i] == QLatin1Char('\\') && i + 1 < value.size()) {
            const QChar next = value[++i];
            switch (next.unicode()) {
            case 's':
                out += QLatin1Char(' ');
                break;
            case 'n':
                out += QLatin1Char('\n');
                break;
            case 't':
                out += QLatin1Char('\t');
                break;
            case 'r':
                out += QLatin1Char('\r');
                break;
            case '\\':
                out += QLatin1Char('\\');
                break;
            default: // kept for the Exec quoting rules
                out += QLatin1Char('\\');
                out += next;
                break;
            }
        } else {
            out += value[i];
        }
    }
    return out;
}

// group → key → raw value of a desktop or mimeapps file.
using IniGroups = QHash<QString, QHash<QString, QString>>;

IniGroups ReadIni(const QString& file) {
    IniGroups groups;
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text))
        return groups;
    QTextStream stream(&input);
    QString group;
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            group = line.mid(1, line.size() - 2);
            continue;
        }
        const int equals = int(line.indexOf(QLatin1Char('=')));
        if (equals <= 0 || group.isEmpty())
            continue;
        const QString key = line.left(equals).trimmed();
        if (!groups[group].contains(key)) // the first one counts
            groups[group].insert(key, line.mid(equals + 1).trimmed());
    }
    return groups;
}

QStringList IdList(const IniGroups& groups, const QString& group, const QString& mimeType) {
    QStringList ids;
    const QString value = groups.value(group).value(mimeType);
    for (const QString& id : value.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        ids.append(id.trimmed());
    return ids;
}

bool Installed(const QString& desktopId) {
    const QString file = FindDesktopFile(desktopId);
    return !file.isEmpty() && ReadDesktopEntry(file).has_value();
}

QString FindIn(const QString& folder, const QString& desktopId) {
    const QString direct = folder + QLatin1Char('/') + desktopId;
    if (QFileInfo(direct).isFile())
        return direct;
    // "vendor-app.desktop" may be "vendor/app.desktop".
    for (int dash = int(desktopId.indexOf(QLatin1Char('-'))); dash > 0;
         dash = int(desktopId.indexOf(QLatin1Char('-'), dash + 1))) {
        const QString sub = folder + QLatin1Char('/') + desktopId.left(dash);
        if (QFileInfo(sub).isDir()) {
            const QString found = FindIn(sub, desktopId.mid(dash + 1));
            if (!found.isEmpty())
                return found;
        }
    }
    return QString();
}

} // namespace

QStringList MimeAppsLists() {
    QStringList desktops;
    for (const QString& name :
         qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':'), Qt::SkipEmptyParts))
        desktops.append(name.toLower());
    QStringList folders = ConfigFolders();
    for (const QString& data : DataFolders())
        folders.append(data + QStringLiteral("/applications"));
    QStringList files;
    for (const QString& folder : folders) {
        for (const QString& desktopName : desktops)
            files.append(folder + QLatin1Char('/') + desktopName +
                         QStringLiteral("-mimeapps.list"));
        files.append(folder + QStringLiteral("/mimeapps.list"));
    }
    return files;
}

QStringList ApplicationFolders() {
    QStringList folders;
    for (const QString& data : DataFolders())
        folders.append(data + QStringLiteral("/applications"));
    return folders;
}

QString DefaultApplication(const QString& mimeType) {
    QList<IniGroups> lists;
    for (const QString& file : MimeAppsLists())
        lists.append(QFileInfo(file).isFile() ? ReadIni(file) : IniGroups());

    for (const IniGroups& list : lists)
        for (const QString& id : IdList(list, QStringLiteral("Default Applications"), mimeType))
            if (Installed(id))
                return id;

    QSet<QString> removed;
    for (const IniGroups& list : lists) {
        for (const QString& id : IdList(list, QStringLiteral("Removed Associations"), mimeType))
            removed.insert(id);
        for (const QString& id : IdList(list, QStringLiteral("Added Associations"), mimeType))
            if (!removed.contains(id) && Installed(id))
                return id;
    }

    for (const QString& folder : ApplicationFolders()) {
        const QString cache = folder + QStringLiteral("/mimeinfo.cache");
        if (!QFileInfo(cache).isFile())
            continue;
        for (const QString& id : IdList(ReadIni(cache), QStringLiteral("MIME Cache"), mimeType))
            if (!removed.contains(id) && Installed(id))
                return id;
    }
    return QString();
}

QString FindDesktopFile(const QString& desktopId) {
    if (desktopId.isEmpty() || desktopId.contains(QLatin1Char('/')))
        return QString();
    for (const QString& folder : ApplicationFolders()) {
        const QString found = FindIn(folder, desktopId);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

std::optional<DesktopEntry> ReadDesktopEntry(const QString& file) {
    const IniGroups groups = ReadIni(file);
    const auto it = groups.find(QStringLiteral("Desktop Entry"));
    if (it == groups.end())
        return std::nullopt;
    const QHash<QString, QString>& keys = *it;
    const auto isTrue = [&keys](const char* key) {
        return keys.value(QString::fromLatin1(key)) == QLatin1String("true");
    };
    const QString type = keys.value(QStringLiteral("Type"));
    if ((!type.isEmpty() && type != QLatin1String("Application")) || isTrue("Hidden"))
        return std::nullopt;
    DesktopEntry entry;
    entry.m_strFile = file;
    entry.m_strExec = Unescape(keys.value(QStringLiteral("Exec")));
    if (entry.m_strExec.trimmed().isEmpty())
        return std::nullopt;
    entry.m_strName = Unescape(keys.value(QStringLiteral("Name")));
    entry.m_strIcon = Unescape(keys.value(QStringLiteral("Icon")));
    entry.m_strPath = Unescape(keys.value(QStringLiteral("Path")));
    entry.m_bTerminal = isTrue("Terminal");
    return entry;
}

std::optional<QStringList> SplitExec(const QString& exec) {
    QStringList args;
    QString current;
    bool inArg = false;
    bool quoted = false;
    for (int i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == QLatin1Char('\\') && i + 1 < exec.size() &&
                QStringLiteral("\"`$\\").contains(exec[i + 1])) {
                current += exec[++i];
            } else if (c == QLatin1Char('"')) {
                quoted = false;
            } else {
                current += c;
            }
        } else if (c == QLatin1Char('"')) {
            quoted = true;
            inArg = true;
        } else if (c == QLatin1Char(' ') || c == QLatin1Char('\t')) {
            if (inArg)
                args.append(current);
            current.clear();
            inArg = false;
        } else {
            current += c;
            inArg = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inArg)
        args.append(current);
    if (args.isEmpty())
        return std::nullopt;
    return args;
}

std::optional<QStringList> CommandFor(const DesktopEntry& entry, const QString& file) {
    const std::optional<QStringList> split = SplitExec(entry.m_strExec);
    if (!split)
        return std::nullopt;
    QStringList command;
    bool tookFile = false;
    for (const QString& arg : *split) {
        // Codes that stand for whole arguments.
        if (arg == QLatin1String("%i")) {
            if (!entry.m_strIcon.isEmpty())
                command << QStringLiteral("--icon") << entry.m_strIcon;
            continue;
        }
        if (arg == QLatin1String("%F") || arg == QLatin1String("%U")) {
            command << file;
            tookFile = true;
            continue;
        }
        QString out;
        bool dropped = false;
        for (int i = 0; i < arg.size(); ++i) {
            if (arg[i] != QLatin1Char('%') || i + 1 >= arg.size()) {
                out += arg[i];
                continue;
            }
            const QChar code = arg[++i];
            switch (code.unicode()) {
            case '%':
                out += QLatin1Char('%');
                break;
            case 'f':
            case 'F':
            case 'u':
            case 'U':
                out += file;
                tookFile = true;
                break;
            case 'c':
                out += entry.m_strName;
                break;
            case 'k':
                out += entry.m_strFile;
                break;
            default: // %i inside a word, and the deprecated %d %D %n %N %v %m
                dropped = true;
                break;
            }
        }
        if (!out.isEmpty() || !dropped)
            command << out;
    }
    if (command.isEmpty())
        return std::nullopt;
    if (!tookFile)
        command << file;
    if (entry.m_bTerminal) {
        const QString terminal =
            QStandardPaths::findExecutable(QStringLiteral("x-terminal-emulator"));
        if (!terminal.isEmpty())
            command = QStringList{terminal, QStringLiteral("-e")} + command;
    }
    return command;
}

} // namespace desktop
