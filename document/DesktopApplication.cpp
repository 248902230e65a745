#include "document/DesktopApplication.h"

#include "document/ExecLine.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

// GIO names a structure member `signals`, which Qt defines as a keyword.
#pragma push_macro("signals")
#undef signals
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#pragma pop_macro("signals")

#include <memory>
#include <vector>

namespace desktop {

namespace {

// Owners for the GLib objects and lists used here.
struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GPtr = std::unique_ptr<T, ObjectUnref>;

struct AppListFree {
    void operator()(GList* list) const { g_list_free_full(list, g_object_unref); }
};
using AppList = std::unique_ptr<GList, AppListFree>;

struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};

QString FromUtf8(const char* text) {
    return text ? QString::fromUtf8(text) : QString();
}

QString Canonical(const QString& path) {
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

// True for our own entries: the registration marks them with X-Quexo-Program,
// and any other entry may still start this program directly.
bool RunsThisProgram(GAppInfo* app, const QString& ownProgram) {
    if (G_IS_DESKTOP_APP_INFO(app) &&
        g_desktop_app_info_has_key(G_DESKTOP_APP_INFO(app), "X-Quexo-Program"))
        return true;
    const char* executable = g_app_info_get_executable(app);
    if (!executable || !*executable)
        return false;
    gchar* found = g_find_program_in_path(executable);
    const QString resolved = Canonical(QFile::decodeName(found ? found : executable));
    g_free(found);
    return !resolved.isEmpty() && resolved == Canonical(ownProgram);
}

// The candidates as GIO objects, best first, without duplicates or our own.
std::vector<GPtr<GAppInfo>> CandidateApps(const QString& mimeType, const QString& ownProgram) {
    const QByteArray type = mimeType.toUtf8();
    std::vector<GPtr<GAppInfo>> result;
    const auto consider = [&](GAppInfo* app) {
        if (!app || RunsThisProgram(app, ownProgram) ||
            (G_IS_DESKTOP_APP_INFO(app) &&
             g_desktop_app_info_get_is_hidden(G_DESKTOP_APP_INFO(app))))
            return;
        for (const auto& taken : result)
            if (g_app_info_equal(taken.get(), app))
                return;
        result.emplace_back(G_APP_INFO(g_object_ref(app)));
    };
    const GPtr<GAppInfo> preferred(g_app_info_get_default_for_type(type.constData(), FALSE));
    consider(preferred.get());
    const AppList recommended(g_app_info_get_recommended_for_type(type.constData()));
    for (GList* item = recommended.get(); item; item = item->next)
        consider(G_APP_INFO(item->data));
    const AppList all(g_app_info_get_all_for_type(type.constData()));
    for (GList* item = all.get(); item; item = item->next)
        consider(G_APP_INFO(item->data));
    return result;
}

bool IsTerminalEntry(GAppInfo* app) {
    return G_IS_DESKTOP_APP_INFO(app) &&
           g_desktop_app_info_get_boolean(G_DESKTOP_APP_INFO(app), "Terminal");
}

} // namespace

bool StartedByHandOff() {
    return qEnvironmentVariableIsSet(kHandOffMarker);
}

QStringList Candidates(const QString& mimeType, const QString& ownProgram) {
    QStringList ids;
    for (const auto& app : CandidateApps(mimeType, ownProgram))
        ids.append(FromUtf8(g_app_info_get_id(app.get())));
    return ids;
}

namespace {

LaunchResult Launch(GAppInfo* app, const QString& file) {
    LaunchResult result;
    result.m_strId = FromUtf8(g_app_info_get_id(app));
    const char* commandLine = g_app_info_get_commandline(app);
    switch (execline::ClassifyFileCodes(commandLine ? commandLine : "")) {
    case execline::FileCodeUse::Argument:
        break;
    case execline::FileCodeUse::PlainNames:
        if (PlainFileName(file))
            break;
        result.m_status = LaunchStatus::UnsafeName;
        return result;
    case execline::FileCodeUse::ShellCode:
        result.m_status = LaunchStatus::ShellEntry;
        return result;
    }
    if (IsTerminalEntry(app) && !TerminalAvailable()) {
        result.m_status = LaunchStatus::NoTerminal;
        return result;
    }

    const GPtr<GAppLaunchContext> context(g_app_launch_context_new());
    g_app_launch_context_setenv(context.get(), kHandOffMarker, "1");
    const GPtr<GFile> target(g_file_new_for_path(QFile::encodeName(file).constData()));
    GList files{target.get(), nullptr, nullptr};
    GError* rawError = nullptr;
    const bool started = g_app_info_launch(app, &files, context.get(), &rawError);
    const std::unique_ptr<GError, ErrorFree> error(rawError);
    if (started) {
        result.m_status = LaunchStatus::Started;
    } else {
        result.m_status = LaunchStatus::Failed;
        result.m_strDetail = error ? FromUtf8(error->message) : QString();
    }
    return result;
}

} // namespace

LaunchResult OpenWithDefault(const QString& mimeType, const QString& file,
                             const QString& ownProgram) {
    const std::vector<GPtr<GAppInfo>> candidates = CandidateApps(mimeType, ownProgram);
    return candidates.empty() ? LaunchResult{} : Launch(candidates.front().get(), file);
}

LaunchResult OpenWith(const QString& desktopId, const QString& file) {
    const GPtr<GDesktopAppInfo> app(g_desktop_app_info_new(desktopId.toUtf8().constData()));
    return app ? Launch(G_APP_INFO(app.get()), file) : LaunchResult{};
}

bool ShellReadsFileCode(const QString& exec) {
    return execline::ClassifyFileCodes(exec.toStdString()) != execline::FileCodeUse::Argument;
}

bool PlainFileName(const QString& path) {
    return execline::PlainFileName(QFile::encodeName(path).toStdString());
}

bool TerminalAvailable() {
    static const char* const kTerminals[] = {
        "xdg-terminal-exec", "kgx",   "gnome-terminal", "mate-terminal",
        "xfce4-terminal",    "tilix", "konsole",        "nxterm",
        "color-xterm",       "rxvt",  "dtterm",         "xterm"};
    for (const char* terminal : kTerminals)
        if (!QStandardPaths::findExecutable(QString::fromLatin1(terminal)).isEmpty())
            return true;
    return false;
}

} // namespace desktop
