// The desktop's text editor on freedesktop systems: found and started through
// GIO, which reads the mimeapps.list files and the desktop entries and expands
// the Exec line with the file quoted as the Desktop Entry rules require.
#pragma once

#include <QString>
#include <QStringList>

namespace desktop {

// Set in the environment of every program the hand-off starts, so that a copy
// of this program started that way never hands a file off again.
inline constexpr char kHandOffMarker[] = "QUEXO_STARTED_BY_HANDOFF";

// True when this process runs under the marker above.
bool StartedByHandOff();

// The desktop file ids of the applications for `mimeType`, best first: the
// default, then the recommended ones, then the rest. Entries that run this
// program (`ownProgram`, or carrying our X-Quexo-Program key) are left out.
QStringList Candidates(const QString& mimeType, const QString& ownProgram);

enum class LaunchStatus {
    Started,
    NoApplication, // no candidate at all
    NoTerminal,    // the editor runs in a terminal and none was found
    UnsafeName,    // the entry quotes its file code and the name could break out
    ShellEntry,    // the entry has a shell run the name (or the file) as code
    Failed,        // GIO could not start it; m_strDetail says why
};

struct LaunchResult {
    LaunchStatus m_status = LaunchStatus::NoApplication;
    QString m_strId;     // the entry chosen, when there was one
    QString m_strDetail; // GIO's error text for Failed
};

// Starts the best candidate for `mimeType` on `file` (an absolute path), with
// the marker in its environment, without waiting for it.
LaunchResult OpenWithDefault(const QString& mimeType, const QString& file,
                             const QString& ownProgram);

// Starts the entry `desktopId` on `file` the same way.
LaunchResult OpenWith(const QString& desktopId, const QString& file);

// True when a file code (%f %F %u %U) of the Exec value is not simply an
// argument: it stands inside quotes, as in `sh -c "cat '%f'"` (which the
// Desktop Entry rules forbid), or a shell runs it as code (document/ExecLine).
bool ShellReadsFileCode(const QString& exec);

// True when no character of `path` means anything to a shell: ASCII letters
// and digits, `/ . _ - + , : @ = %`, and anything beyond ASCII.
bool PlainFileName(const QString& path);

// The terminals GIO looks for, one of which must be on the PATH for an entry
// with Terminal=true.
bool TerminalAvailable();

} // namespace desktop
