#include "framework/CDocument.h"

#include "framework/CDocTemplate.h"
#include "framework/CMDIChildWnd.h"
#include "framework/CMDIFrameWnd.h"
#include "framework/CSafeSaveFile.h"
#include "framework/CView.h"
#include "framework/CWaitCursor.h"
#include "framework/CWinApp.h"
#include "framework/Prompt.h"
#include "framework/StdCommandIds.h"
#include "platform/OsFile.h"
#include "resources/StringTable.h"
#include "storage/CFileException.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

std::string EncodePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString DecodePath(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

namespace {
QString FileTitle(const QString& path) {
    return QFileInfo(path).fileName();
}
} // namespace

CDocument::CDocument() {
    OnCommand(ID_FILE_CLOSE, [this] { OnFileClose(); });
    OnCommand(ID_FILE_SAVE, [this] { DoFileSave(); });
    OnCommand(ID_FILE_SAVE_AS, [this] { DoSave(QString()); });
}

CDocument::~CDocument() {
    for (CView* view : m_viewList)
        view->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const QString& title) {
    m_strTitle = title;
    UpdateFrameCounts();
}

void CDocument::SetPathName(const QString& path, bool addToRecent) {
    std::string full;
    m_strPathName = platform::FullPath(EncodePath(path), &full) ? DecodePath(full) : path;
    SetTitle(FileTitle(m_strPathName));
    if (addToRecent)
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(m_strPathName);
}

void CDocument::AddView(CView* view) {
    if (!view || std::find(m_viewList.begin(), m_viewList.end(), view) != m_viewList.end())
        return;
    m_viewList.push_back(view);
    view->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* view) {
    const auto it = std::find(m_viewList.begin(), m_viewList.end(), view);
    if (it == m_viewList.end())
        return;
    m_viewList.erase(it);
    view->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::OnChangedViewList() {
    if (m_bAutoDelete && m_viewList.empty()) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateAllViews(CView* sender, long hint, QObject* hintObject) {
    const std::vector<CView*> views = m_viewList; // a view may close others
    for (CView* view : views)
        if (view != sender &&
            std::find(m_viewList.begin(), m_viewList.end(), view) != m_viewList.end())
            view->OnUpdate(sender, hint, hintObject);
}

std::vector<CMDIChildWnd*> CDocument::GetFrames() const {
    std::vector<CMDIChildWnd*> frames;
    for (CView* view : m_viewList) {
        CMDIChildWnd* frame = view->GetParentFrame();
        if (frame && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    return frames;
}

void CDocument::UpdateFrameCounts() {
    const std::vector<CMDIChildWnd*> frames = GetFrames();
    int number = 0;
    for (CMDIChildWnd* frame : frames) {
        frame->m_nWindow = frames.size() > 1 ? ++number : 0;
        frame->OnUpdateFrameTitle();
    }
    if (CWinApp* app = AfxGetApp())
        if (CMDIFrameWnd* main = app->GetMainWnd())
            main->OnUpdateFrameTitle();
}

void CDocument::DeleteContents() {}

bool CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.clear();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnOpenDocument(const QString& /*path*/) {
    DeleteContents();
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const QString& /*path*/) {
    SetModifiedFlag(false);
    return true;
}

void CDocument::OnCloseDocument() {
    // Closing the frames must not delete the document half way.
    const bool autoDelete = m_bAutoDelete;
    m_bAutoDelete = false;
    while (!m_viewList.empty()) {
        CView* view = m_viewList.front();
        if (CMDIChildWnd* frame = view->GetParentFrame()) {
            PreCloseFrame(frame);
            frame->DestroyFrame();
        }
        RemoveView(view); // no-op when the frame already detached it
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete) {
        if (m_pDocTemplate)
            m_pDocTemplate->RemoveDocument(this);
        deleteLater(); // the caller may still be inside one of our handlers
    }
    if (CWinApp* app = AfxGetApp())
        app->RequestIdle();
}

void CDocument::ReportSaveLoadException(const QString& path, const std::exception* error,
                                        bool /*saving*/, unsigned defaultPrompt) {
    QString prompt;
    if (const auto* fileError = dynamic_cast<const CFileException*>(error)) {
        if (fileError->m_cause != CFileException::none) {
            CFileException named = *fileError;
            if (named.m_strFileName.empty())
                named.m_strFileName = EncodePath(path);
            prompt = QString::fromUtf8(named.GetErrorMessage().c_str());
        }
    }
    if (prompt.isEmpty())
        prompt = QString::fromUtf8(
            res::FormatArgs(res::LoadString(defaultPrompt), {FileTitle(path).toStdString()})
                .c_str());
    AfxMessageBox(prompt, MB_OK | MB_ICONEXCLAMATION);
}

std::unique_ptr<CFile64> CDocument::GetFile(const QString& path, unsigned flags,
                                            CFileException* error) {
    std::unique_ptr<CFile64> file;
    if (flags & CFile64::modeCreate)
        file = std::make_unique<CSafeSaveFile>();
    else
        file = std::make_unique<CFile64>();
    if (!file->Open(EncodePath(path).c_str(), flags, error))
        return nullptr;
    return file;
}

void CDocument::ReleaseFile(std::unique_ptr<CFile64> file, bool abort) {
    if (!file)
        return;
    if (abort)
        file->Abort();
    else
        file->Close();
}

bool CDocument::SaveModified() {
    if (!IsModified())
        return true;
    QString name = m_strPathName.isEmpty() ? m_strTitle : FileTitle(m_strPathName);
    if (name.isEmpty())
        name = QString::fromUtf8(res::LoadString(AFX_IDS_UNTITLED));
    const QString prompt = QString::fromUtf8(
        res::FormatArgs(res::LoadString(AFX_IDP_ASK_TO_SAVE), {name.toStdString()}).c_str());
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL)) {
    case IDYES:
        return DoFileSave();
    case IDNO:
        return true;
    default:
        return false;
    }
}

bool CDocument::DoFileSave() {
    // A file that refuses writing is saved under another name instead.
    const QFileInfo info(m_strPathName);
    if (m_strPathName.isEmpty() ||
        (info.exists() && !(info.permissions() & QFileDevice::WriteOwner)))
        return DoSave(QString());
    return DoSave(m_strPathName);
}

bool CDocument::DoSave(const QString& path, bool replace) {
    QString newName = path;
    if (newName.isEmpty()) {
        newName = m_strPathName;
        if (replace && newName.isEmpty()) {
            // Suggest the title, cut before characters a file name should not start with.
            newName = m_strTitle;
            const int bad = int(newName.indexOf(QRegularExpression(QStringLiteral("[ #%;/\\\\]"))));
            if (bad >= 0)
                newName.truncate(bad);
        }
        if (!CWinApp::DoPromptFileName(newName, AFX_IDS_SAVEFILE, false))
            return false;
    }
    CWaitCursor wait;
    // A failed save never removes the target: it may have existed before, and a
    // failed re-open after a complete copy must not lose the file just written.
    if (!OnSaveDocument(newName))
        return false;
    if (replace)
        SetPathName(newName);
    return true;
}

bool CDocument::CanCloseFrame(CMDIChildWnd* frame) {
    for (CMDIChildWnd* other : GetFrames())
        if (other != frame)
            return true; // another window stays on the document
    return SaveModified();
}

void CDocument::PreCloseFrame(CMDIChildWnd* /*frame*/) {}

void CDocument::OnFileClose() {
    if (!SaveModified())
        return;
    OnCloseDocument();
}
