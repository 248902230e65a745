#include "framework/CWinApp.h"

#include "framework/CCommandLineInfo.h"
#include "framework/CDocTemplate.h"
#include "framework/CDocument.h"
#include "framework/CMDIChildWnd.h"
#include "framework/CMDIFrameWnd.h"
#include "framework/CView.h"
#include "framework/CommandGuard.h"
#include "framework/DialogRunner.h"
#include "framework/StdCommandIds.h"
#include "resources/StringTable.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMenu>
#include <QSettings>
#include <QTranslator>

namespace {

CWinApp* g_pApp = nullptr;

// Idle passes are cheap, but a menu or toolbar must never wait long for them.
constexpr int kPeriodicIdleMs = 500;

QString Key(const QString& section, const QString& entry) {
    return section + QLatin1Char('/') + entry;
}

// Qt's own French texts for standard dialogs, when the system has them.
void LoadQtTranslations() {
    static bool loaded = false;
    if (loaded || !QCoreApplication::instance())
        return;
    loaded = true;
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

CWinApp* AfxGetApp() {
    return g_pApp;
}

CWinApp::CWinApp(const QString& appName)
    : m_strAppName(appName.isEmpty() ? QString::fromUtf8(res::LoadString(AFX_IDS_APP_TITLE))
                                     : appName),
      m_strRecentPlaceholder(QStringLiteral("Fichier Récent")) {
    g_pApp = this;
    LoadQtTranslations();

    OnCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    OnCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    OnCommand(ID_APP_EXIT, [this] { OnAppExit(); });
    OnCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST,
                   [this](unsigned id) { OnOpenRecentFile(id); });
    OnUpdateCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_LAST,
                         [this](CCmdUI* ui) { OnUpdateRecentFileMenu(ui); });

    m_idleTimer.setSingleShot(true);
    m_idleTimer.setInterval(0);
    connect(&m_idleTimer, &QTimer::timeout, this, &CWinApp::OnIdle);
    m_periodicIdle.setInterval(kPeriodicIdleMs);
    connect(&m_periodicIdle, &QTimer::timeout, this, &CWinApp::OnIdle);
    m_periodicIdle.start();
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

CWinApp::~CWinApp() {
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
    m_idleTimer.stop();
    m_periodicIdle.stop();
    CloseAllDocuments();
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
    m_templates.clear();
    if (g_pApp == this)
        g_pApp = nullptr;
}

bool CWinApp::InitInstance() {
    return true;
}

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    return 0;
}

int CWinApp::Run() {
    if (!InitInstance()) {
        if (m_pMainWnd)
            m_pMainWnd->hide();
        return ExitInstance();
    }
    QApplication::exec();
    return ExitInstance();
}

// --- profile ---------------------------------------------------------------

void CWinApp::SetRegistryKey(const QString& company) {
    m_strRegistryKey = company;
}

int CWinApp::GetProfileInt(const QString& section, const QString& entry, int defaultValue) const {
    QSettings settings(m_strRegistryKey, m_strAppName);
    bool ok = false;
    const int value = settings.value(Key(section, entry), defaultValue).toInt(&ok);
    return ok ? value : defaultValue;
}

bool CWinApp::WriteProfileInt(const QString& section, const QString& entry, int value) {
    QSettings settings(m_strRegistryKey, m_strAppName);
    settings.setValue(Key(section, entry), value);
    return settings.status() == QSettings::NoError;
}

QString CWinApp::GetProfileString(const QString& section, const QString& entry,
                                  const QString& defaultValue) const {
    QSettings settings(m_strRegistryKey, m_strAppName);
    return settings.value(Key(section, entry), defaultValue).toString();
}

bool CWinApp::WriteProfileString(const QString& section, const QString& entry,
                                 const QString& value) {
    QSettings settings(m_strRegistryKey, m_strAppName);
    settings.setValue(Key(section, entry), value);
    return settings.status() == QSettings::NoError;
}

bool CWinApp::GetProfileBinary(const QString& section, const QString& entry,
                               QByteArray* data) const {
    QSettings settings(m_strRegistryKey, m_strAppName);
    const QString key = Key(section, entry);
    if (!settings.contains(key))
        return false;
    *data = settings.value(key).toByteArray();
    return true;
}

bool CWinApp::WriteProfileBinary(const QString& section, const QString& entry,
                                 const QByteArray& data) {
    QSettings settings(m_strRegistryKey, m_strAppName);
    settings.setValue(Key(section, entry), data);
    return settings.status() == QSettings::NoError;
}

void CWinApp::LoadStdProfileSettings(int maxRecent) {
    m_recentFiles = CRecentFileList(maxRecent);
    m_recentFiles.ReadList(m_strRegistryKey, m_strAppName);
}

void CWinApp::SaveStdProfileSettings() {
    m_recentFiles.WriteList(m_strRegistryKey, m_strAppName);
}

void CWinApp::AddToRecentFileList(const QString& path) {
    m_recentFiles.Add(path);
    RequestIdle();
}

// --- documents ---------------------------------------------------------------

CDocTemplate* CWinApp::AddDocTemplate(std::unique_ptr<CDocTemplate> docTemplate) {
    m_templates.push_back(std::move(docTemplate));
    return m_templates.back().get();
}

CDocument* CWinApp::OpenDocumentFile(const QString& path) {
    for (const auto& docTemplate : m_templates) {
        if (CDocument* open = docTemplate->FindDocument(path)) {
            const std::vector<CMDIChildWnd*> frames = open->GetFrames();
            if (!frames.empty())
                frames.front()->ActivateFrame();
            return open;
        }
    }
    if (m_templates.empty())
        return nullptr;
    return m_templates.front()->OpenDocumentFile(path);
}

bool CWinApp::SaveAllModified() {
    for (const auto& docTemplate : m_templates)
        if (!docTemplate->SaveAllModified())
            return false;
    return true;
}

void CWinApp::CloseAllDocuments() {
    for (const auto& docTemplate : m_templates)
        docTemplate->CloseAllDocuments();
}

int CWinApp::GetOpenDocumentCount() const {
    int count = 0;
    for (const auto& docTemplate : m_templates)
        count += int(docTemplate->GetDocuments().size());
    return count;
}

void CWinApp::SetMainWnd(CMDIFrameWnd* frame) {
    m_pMainWnd = frame;
}

// --- commands ----------------------------------------------------------------

QAction* CWinApp::GetCommandAction(unsigned id) {
    if (QAction* existing = m_actions.value(id))
        return existing;
    auto* action = new QAction(this);
    action->setData(id);
    const QString prompt = QString::fromUtf8(res::PromptPart(id).c_str());
    const QString tooltip = QString::fromUtf8(res::TooltipPart(id).c_str());
    if (!prompt.isEmpty())
        action->setStatusTip(prompt);
    if (!tooltip.isEmpty()) {
        action->setText(tooltip);
        action->setToolTip(tooltip);
    }
    connect(action, &QAction::triggered, this, [this, id] { ExecuteCommand(id); });
    m_actions.insert(id, action);
    RequestIdle();
    return action;
}

std::vector<CCmdTarget*> CWinApp::GetCommandChain() const {
    std::vector<CCmdTarget*> chain;
    CMDIChildWnd* frame = m_pMainWnd ? m_pMainWnd->MDIGetActive() : nullptr;
    CView* view = frame ? frame->GetActiveView() : nullptr;
    CDocument* document = view ? view->GetDocument() : nullptr;
    if (view)
        chain.push_back(view);
    if (document)
        chain.push_back(document);
    if (frame)
        chain.push_back(frame);
    if (m_pMainWnd)
        chain.push_back(m_pMainWnd);
    chain.push_back(const_cast<CWinApp*>(this));
    return chain;
}

void CWinApp::UpdateCmdUI(CCmdUI* ui, bool disableIfNoHandler) {
    const std::vector<CCmdTarget*> chain = GetCommandChain();
    ui->m_bEnableChanged = false;
    for (CCmdTarget* target : chain)
        if (target->OnUpdateCmdMsg(ui))
            break;
    if (disableIfNoHandler && !ui->m_bEnableChanged) {
        bool handled = false;
        for (CCmdTarget* target : chain)
            if ((handled = target->HasCommandHandler(ui->m_nID)))
                break;
        ui->Enable(handled);
    }
}

bool CWinApp::ExecuteCommand(unsigned id) {
    bool handled = false;
    RunGuarded([&] {
        // The state may have changed since the last idle pass (a shortcut).
        CCmdUI ui(id);
        UpdateCmdUI(&ui);
        if (!ui.m_bEnabled)
            return;
        for (CCmdTarget* target : GetCommandChain()) {
            handled = true; // also when the handler throws
            if (target->OnCmdMsg(id))
                return; // the handler may have closed the rest of the chain
            handled = false;
        }
    });
    RequestIdle();
    return handled;
}

void CWinApp::OnIdle() {
    if (m_bInIdle)
        return;
    m_bInIdle = true;
    for (auto it = m_actions.cbegin(); it != m_actions.cend(); ++it) {
        CCmdUI ui(it.key());
        try {
            UpdateCmdUI(&ui);
        } catch (...) {
            // An update handler that fails leaves its command disabled; a box per
            // idle pass would flood the user.
            ui.Enable(false);
        }
        ui.ApplyTo(it.value());
    }
    if (m_pMainWnd) {
        try {
            m_pMainWnd->OnIdleUpdateCmdUI();
        } catch (...) {
        }
    }
    m_bInIdle = false;
}

void CWinApp::RequestIdle() {
    if (!m_idleTimer.isActive())
        m_idleTimer.start();
}

bool CWinApp::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
    case QEvent::Drop:
        RequestIdle();
        break;
    case QEvent::Show:
        // A menu about to open shows the states as they are now.
        if (qobject_cast<QMenu*>(watched))
            OnIdle();
        break;
    default:
        break;
    }
    return false;
}

// --- command line and standard commands -----------------------------------

void CWinApp::ParseCommandLine(CCommandLineInfo& info) const {
    info.Parse(QCoreApplication::arguments().mid(1));
}

bool CWinApp::ProcessShellCommand(CCommandLineInfo& info) {
    switch (info.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        OnFileNew();
        return true;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(info.m_strFileName) != nullptr;
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo: {
        // Print and end: the program does not stay open after printing.
        CDocument* document = OpenDocumentFile(info.m_strFileName);
        if (document) {
            ExecuteCommand(ID_FILE_PRINT_DIRECT);
            document->OnCloseDocument();
        }
        return false;
    }
    case CCommandLineInfo::FileNothing:
        return true;
    }
    return true;
}

bool CWinApp::DoPromptFileName(QString& fileName, unsigned titleId, bool openDialog) {
    FileDialogRequest request;
    request.m_bOpen = openDialog;
    request.m_strTitle = QString::fromUtf8(res::LoadString(titleId));
    request.m_strFilter = QString::fromUtf8(res::LoadString(AFX_IDS_ALLFILTER));
    request.m_strFileName = fileName;
    const std::optional<QString> chosen = DialogRunner::PromptFileName(request);
    if (!chosen)
        return false;
    fileName = *chosen;
    return true;
}

void CWinApp::OnFileNew() {
    if (!m_templates.empty())
        m_templates.front()->OpenDocumentFile(QString());
}

void CWinApp::OnFileOpen() {
    QString name;
    if (!DoPromptFileName(name, AFX_IDS_OPENFILE, true))
        return;
    OpenDocumentFile(name);
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd)
        m_pMainWnd->close();
}

void CWinApp::OnOpenRecentFile(unsigned id) {
    const int index = int(id - ID_FILE_MRU_FILE1);
    const QString path = m_recentFiles[index];
    if (path.isEmpty())
        return;
    // An entry goes when its file is gone; a file that merely failed to open
    // (or went to the text editor) stays listed.
    if (!OpenDocumentFile(path) && !QFileInfo::exists(path))
        m_recentFiles.Remove(index);
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* ui) {
    const int index = int(ui->m_nID - ID_FILE_MRU_FILE1);
    if (m_recentFiles.GetCount() == 0 && index == 0) {
        ui->SetText(m_strRecentPlaceholder);
        ui->SetVisible(true);
        ui->Enable(false);
        return;
    }
    if (index >= m_recentFiles.GetCount()) {
        ui->SetVisible(false);
        ui->Enable(false);
        return;
    }
    ui->SetText(m_recentFiles.GetDisplayName(index));
    ui->SetVisible(true);
    ui->Enable(true);
}
