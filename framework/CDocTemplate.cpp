#include "framework/CDocTemplate.h"

#include "framework/CDocument.h"
#include "framework/CMDIChildWnd.h"
#include "framework/CMDIFrameWnd.h"
#include "framework/CView.h"
#include "framework/CWaitCursor.h"
#include "framework/CWinApp.h"
#include "framework/Prompt.h"
#include "platform/OsFile.h"
#include "resources/StringTable.h"

#include <QMdiArea>

#include <algorithm>

CDocTemplate::CDocTemplate(unsigned resourceId, DocumentFactory makeDocument,
                           FrameFactory makeFrame, ViewFactory makeView)
    : m_nIDResource(resourceId), m_makeDocument(std::move(makeDocument)),
      m_makeFrame(std::move(makeFrame)), m_makeView(std::move(makeView)) {}

CDocTemplate::~CDocTemplate() {
    for (CDocument* document : m_docList)
        document->m_pDocTemplate = nullptr;
}

QString CDocTemplate::GetDocString(DocStringIndex index) const {
    const QStringList fields =
        QString::fromUtf8(res::LoadString(m_nIDResource)).split(QLatin1Char('\n'));
    return fields.value(int(index));
}

CDocument* CDocTemplate::CreateNewDocument() {
    CDocument* document = m_makeDocument();
    AddDocument(document);
    return document;
}

CMDIChildWnd* CDocTemplate::CreateNewFrame(CDocument* document) {
    CMDIChildWnd* frame = m_makeFrame();
    CView* view = m_makeView();
    frame->SetView(view);
    if (CWinApp* app = AfxGetApp())
        if (CMDIFrameWnd* main = app->GetMainWnd())
            main->MDIClient()->addSubWindow(frame);
    frame->hide();
    document->AddView(view);
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CMDIChildWnd* frame, CDocument* document, bool makeVisible) {
    if (CView* view = frame->GetActiveView())
        view->OnInitialUpdate();
    if (makeVisible)
        frame->ActivateFrame();
    document->UpdateFrameCounts();
}

void CDocTemplate::SetDefaultTitle(CDocument* document) {
    QString title = GetDocString(docName);
    if (title.isEmpty())
        title = QString::fromUtf8(res::LoadString(AFX_IDS_UNTITLED));
    else
        title += QString::number(m_nUntitledCount + 1);
    document->SetTitle(title);
}

CDocument* CDocTemplate::OpenDocumentFile(const QString& path, bool makeVisible) {
    CDocument* document = CreateNewDocument();
    // The document must survive its frame's creation.
    const bool autoDelete = document->m_bAutoDelete;
    document->m_bAutoDelete = false;
    CMDIChildWnd* frame = CreateNewFrame(document);
    document->m_bAutoDelete = autoDelete;
    try {
        if (path.isEmpty()) {
            SetDefaultTitle(document);
            if (!document->OnNewDocument()) {
                frame->DestroyFrame(); // takes the document with it
                return nullptr;
            }
            ++m_nUntitledCount;
        } else {
            CWaitCursor wait;
            if (!document->OnOpenDocument(path)) {
                frame->DestroyFrame();
                return nullptr;
            }
            document->SetPathName(path);
        }
    } catch (...) {
        frame->DestroyFrame();
        throw;
    }
    InitialUpdateFrame(frame, document, makeVisible);
    return document;
}

void CDocTemplate::AddDocument(CDocument* document) {
    if (std::find(m_docList.begin(), m_docList.end(), document) == m_docList.end())
        m_docList.push_back(document);
    document->m_pDocTemplate = this;
}

void CDocTemplate::RemoveDocument(CDocument* document) {
    const auto it = std::find(m_docList.begin(), m_docList.end(), document);
    if (it != m_docList.end())
        m_docList.erase(it);
    if (document->m_pDocTemplate == this)
        document->m_pDocTemplate = nullptr;
}

CDocument* CDocTemplate::FindDocument(const QString& path) const {
    std::string full;
    if (!platform::FullPath(EncodePath(path), &full))
        return nullptr;
    for (CDocument* document : m_docList)
        if (!document->GetPathName().isEmpty() &&
            platform::SameFileName(EncodePath(document->GetPathName()), full))
            return document;
    return nullptr;
}

bool CDocTemplate::SaveAllModified() {
    const std::vector<CDocument*> documents = m_docList;
    for (CDocument* document : documents)
        if (!document->SaveModified())
            return false;
    return true;
}

void CDocTemplate::CloseAllDocuments() {
    const std::vector<CDocument*> documents = m_docList;
    for (CDocument* document : documents)
        document->OnCloseDocument();
}
