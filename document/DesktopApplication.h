// The desktop's default application for a MIME type, found the freedesktop way
// (mimeapps.list files, then the applications' own MimeType lists), and the
// command line its desktop entry gives for a file.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

struct DesktopEntry {
    QString m_strFile; // where the entry was read from
    QString m_strName;
    QString m_strIcon;
    QString m_strExec;
    QString m_strPath; // working folder, may be empty
    bool m_bTerminal = false;
};

namespace desktop {

// The mimeapps.list files, most important first: $XDG_CONFIG_HOME,
// $XDG_CONFIG_DIRS, $XDG_DATA_HOME/applications, $XDG_DATA_DIRS/applications,
// each with the current desktop's own list before the common one.
QStringList MimeAppsLists();

// The folders holding desktop entries, most important first.
QStringList ApplicationFolders();

// The desktop file id of the default application for `mimeType`: the first
// installed one of [Default Applications], else of [Added Associations] (less
// [Removed Associations]), else of the applications that list the type in
// mimeinfo.cache. Empty when there is none.
QString DefaultApplication(const QString& mimeType);

// The file of the desktop entry `desktopId` ("a-b.desktop" may live in
// "a/b.desktop"), or empty.
QString FindDesktopFile(const QString& desktopId);

// Reads the [Desktop Entry] group; nothing when the file is not an application
// that can be started (missing, hidden, no Exec).
std::optional<DesktopEntry> ReadDesktopEntry(const QString& file);

// Splits an Exec value into arguments, honouring its quoting rules; nothing
// when the quoting is broken.
std::optional<QStringList> SplitExec(const QString& exec);

// The command for opening `file`: field codes %f %F %u %U become the file,
// %i the icon option, %c the name, %k the entry's file, %% a percent sign; the
// deprecated codes go. When the line takes no file, the file is appended.
std::optional<QStringList> CommandFor(const DesktopEntry& entry, const QString& file);

} // namespace desktop
