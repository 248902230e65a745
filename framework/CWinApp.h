// The application object: the settings profile, the recent-file list, the
// document templates, the standard new/open/exit commands, the command actions
// with their routing and the idle update of their states.
#pragma once

#include "framework/CCmdTarget.h"
#include "framework/CRecentFileList.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QString>
#include <QTimer>

#include <memory>
#include <vector>

class CCommandLineInfo;
class CDocTemplate;
class CDocument;
class CMDIFrameWnd;
class QAction;

class CWinApp : public QObject, public CCmdTarget {
    Q_OBJECT
public:
    // `appName` names the profile and titles message boxes.
    explicit CWinApp(const QString& appName = QString());
    ~CWinApp() override;

    // Start-up; false ends the program.
    virtual bool InitInstance();
    // Exit; returns the exit code.
    virtual int ExitInstance();
    // InitInstance, the message loop, ExitInstance.
    int Run();

    // Settings profile: QSettings(registry key, application name), one group
    // per section.
    void SetRegistryKey(const QString& company);
    const QString& GetRegistryKey() const { return m_strRegistryKey; }
    const QString& GetAppName() const { return m_strAppName; }
    int GetProfileInt(const QString& section, const QString& entry, int defaultValue) const;
    bool WriteProfileInt(const QString& section, const QString& entry, int value);
    QString GetProfileString(const QString& section, const QString& entry,
                             const QString& defaultValue = QString()) const;
    bool WriteProfileString(const QString& section, const QString& entry, const QString& value);
    // False when the value is absent; bytes are kept exactly as written.
    bool GetProfileBinary(const QString& section, const QString& entry, QByteArray* data) const;
    bool WriteProfileBinary(const QString& section, const QString& entry, const QByteArray& data);

    // Reads the recent-file list of `maxRecent` entries.
    void LoadStdProfileSettings(int maxRecent = 4);
    void SaveStdProfileSettings();
    CRecentFileList& GetRecentFileList() { return m_recentFiles; }
    virtual void AddToRecentFileList(const QString& path);
    // The greyed text of the first recent-file entry while the list is empty.
    void SetRecentFilePlaceholder(const QString& text) { m_strRecentPlaceholder = text; }

    // Templates and documents.
    CDocTemplate* AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate);
    const std::vector<std::unique_ptr<CDocTemplate>>& GetDocTemplates() const {
        return m_templates;
    }
    // Activates the window of an already open file, or opens it. Null when the
    // open failed or the file went elsewhere.
    virtual CDocument* OpenDocumentFile(const QString& path);
    bool SaveAllModified();
    void CloseAllDocuments();
    int GetOpenDocumentCount() const;

    // The main window; the application deletes it at the end.
    void SetMainWnd(CMDIFrameWnd* frame);
    CMDIFrameWnd* GetMainWnd() const { return m_pMainWnd; }

    // Commands: one action per identifier, routed view → document → child
    // frame → main frame → application.
    QAction* GetCommandAction(unsigned id);
    // Runs the command when it is enabled; false when it was disabled or had no
    // handler. Exceptions are reported, never passed on.
    bool ExecuteCommand(unsigned id);
    // Asks the routing chain for the command's state. Without an update handler
    // a command is enabled exactly when some target handles it (unless
    // `disableIfNoHandler` is false, as for status panes).
    void UpdateCmdUI(CCmdUI* ui, bool disableIfNoHandler = true);
    std::vector<CCmdTarget*> GetCommandChain() const;
    // The idle pass: refreshes every action's state, then the main frame's.
    virtual void OnIdle();
    // Schedules an idle pass once the events now queued are handled.
    void RequestIdle();

    void ParseCommandLine(CCommandLineInfo& info) const;
    // Opens (or prints) what the command line named; false when that failed.
    virtual bool ProcessShellCommand(CCommandLineInfo& info);

    // The open or save dialog with the framework's title and filter; false when
    // cancelled. `fileName` holds the initial name and receives the choice.
    static bool DoPromptFileName(QString& fileName, unsigned titleId, bool openDialog);

    void OnFileNew();
    void OnFileOpen();
    void OnAppExit();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnOpenRecentFile(unsigned id);
    void OnUpdateRecentFileMenu(CCmdUI* ui);

    QString m_strAppName;
    QString m_strRegistryKey;
    CRecentFileList m_recentFiles{4};
    QString m_strRecentPlaceholder;
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    CMDIFrameWnd* m_pMainWnd = nullptr;
    QHash<unsigned, QAction*> m_actions;
    QTimer m_idleTimer;    // one pass after the events now queued
    QTimer m_periodicIdle; // and a slow pass for states that change by themselves
    bool m_bInIdle = false;
};

// The application object, or null when there is none.
CWinApp* AfxGetApp();
