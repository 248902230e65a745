#include "document/CQuexoDoc.h"

#include "document/CTextHandOff.h"
#include "document/DocumentCommandIds.h"
#include "document/TextFileCheck.h"
#include "document/UpdateHints.h"
#include "framework/CDocTemplate.h"
#include "framework/CMDIFrameWnd.h"
#include "framework/CProgress.h"
#include "framework/CWaitCursor.h"
#include "framework/CWinApp.h"
#include "framework/Prompt.h"
#include "framework/StdCommandIds.h"
#include "platform/OsFile.h"
#include "resources/StringTable.h"
#include "storage/CPieceFile64.h"

#include <QPointer>
#include <QScopedValueRollback>

#include <memory>
#include <utility>
#include <vector>

namespace {

constexpr unsigned kOpenAsTextQuestion = 142;
constexpr std::uint32_t kCopyBlock = 65536;

// The progress of a save, shown after half a second.
QString SaveProgressLabel() {
    return QStringLiteral("Enregistrement...");
}

QWidget* ProgressParent() {
    return AfxGetApp() ? AfxGetApp()->GetMainWnd() : nullptr;
}

std::string FullName(const QString& path) {
    std::string full;
    const std::string name = EncodePath(path);
    return platform::FullPath(name, &full) ? full : name;
}

} // namespace

CQuexoDoc::CQuexoDoc() {
    OnUpdateCommand(ID_FILE_SAVE, [this](CCmdUI* ui) { ui->Enable(IsModified()); });
    OnUpdateCommand(ID_FILE_EDITASTEXT,
                    [this](CCmdUI* ui) { ui->Enable(!GetPathName().isEmpty()); });
    OnCommand(ID_FILE_EDITASTEXT, [this] { OnFileEditAsText(); });
    OnUpdateCommand(ID_FILE_RELOAD,
                    [this](CCmdUI* ui) { ui->Enable(m_pFile && !GetPathName().isEmpty()); });
    OnCommand(ID_FILE_RELOAD, [this] { OnFileReload(); });
}

CQuexoDoc::~CQuexoDoc() {
    // A view that outlives its document must not keep the model that goes now.
    try {
        ReplaceModel(nullptr);
    } catch (...) {
    }
}

void CQuexoDoc::ReplaceModel(std::unique_ptr<CPieceFile64> file) {
    ++m_nRevision;
    if (!file && !m_pFile)
        return; // nothing any view could hold changes
    std::unique_ptr<CPieceFile64> previous = std::exchange(m_pFile, std::move(file));
    // A content notice without changes: each view takes the document's model
    // as it now is (or lets go of the old one) while the old one still exists.
    UpdateAllViews(nullptr, kHintContentChanged);
}

void CQuexoDoc::AttachFile(std::unique_ptr<CPieceFile64> file) {
    ReplaceModel(std::move(file));
}

void CQuexoDoc::DeleteContents() {
    StopWatching();
    ReplaceModel(nullptr);
    CDocument::DeleteContents();
}

bool CQuexoDoc::OnNewDocument() {
    if (!CDocument::OnNewDocument())
        return false;
    m_bReadOnly = false;
    ReplaceModel(std::make_unique<CPieceFile64>());
    ResetHistory();
    return true;
}

bool CQuexoDoc::OnOpenDocument(const QString& path) {
    DeleteContents();
    const std::string name = EncodePath(path);
    try {
        // A copy started by a hand-off shows its files: handing them off again
        // could start this program over and over.
        if (LooksLikeText(name) && !CTextHandOff::StartedByHandOff()) {
            CTextHandOff& handOff = CTextHandOff::Current();
            bool handOver = false;
            switch (DecideTextOpen(handOff.m_nOpenTextMode)) {
            case TextOpenDecision::HandOver:
                handOver = true;
                break;
            case TextOpenDecision::Ask: {
                const std::string question =
                    res::FormatPrintf(res::LoadString(kOpenAsTextQuestion), FullName(path).c_str());
                handOver = AfxMessageBox(QString::fromUtf8(question.c_str()), MB_YESNO) == IDYES;
                break;
            }
            case TextOpenDecision::OpenInHex:
                break;
            }
            if (handOver) {
                // Not an error: the file went to the text editor (or the editor
                // failed and said so); either way it is not opened here. Only
                // the command line's file, which would otherwise end the
                // program, is shown in hex after a failed hand-off.
                if (handOff.OpenInTextEditor(path) || !handOff.m_bHexWhenHandOffFails)
                    return false;
            }
        }

        auto file = std::make_unique<CPieceFile64>();
        CFileException error;
        m_bReadOnly = false;
        if (!file->Open(name.c_str(), CPieceFile64::modeReadWrite | CPieceFile64::shareDenyWrite,
                        &error)) {
            m_bReadOnly = true;
            if (!file->Open(name.c_str(), CPieceFile64::modeRead | CPieceFile64::shareDenyWrite,
                            &error)) {
                ReportSaveLoadException(path, &error, false, AFX_IDP_FAILED_TO_OPEN_DOC);
                return false;
            }
        }
        ReplaceModel(std::move(file));
        ResetHistory();
        SetModifiedFlag(false);
        StartWatching();
        return true;
    } catch (const CFileException& e) {
        ReportSaveLoadException(path, &e, false, AFX_IDP_FAILED_TO_OPEN_DOC);
        return false;
    }
}

bool CQuexoDoc::OnSaveDocument(const QString& path) {
    const bool sameFile =
        !GetPathName().isEmpty() && platform::SameFileName(FullName(path), FullName(GetPathName()));
    if (!sameFile)
        return SaveToOtherFile(path);
    if (m_pFile) {
        if (!ConfirmSaveOverOutsideChange())
            return false;
        CWaitCursor wait;
        EndTypingRun();
        // Our own writes must not read as another program's.
        QScopedValueRollback<bool> saving(m_bSavingNow, true);
        CProgress progress(SaveProgressLabel(), ProgressParent());
        m_pFile->SetSaveProgress([&progress](std::int64_t done, std::int64_t total) {
            return progress.Step(done, total);
        });
        struct ClearProgress {
            CPieceFile64* file;
            ~ClearProgress() { file->SetSaveProgress(nullptr); }
        } clear{m_pFile.get()};
        // A failing commit reaches the command's error report; the document
        // stays modified and on its file. So does a cancelled one, silently.
        try {
            m_pFile->Flush();
        } catch (const CSaveCancelled&) {
            return false;
        } catch (const CFileException& e) {
            if (e.m_cause != CFileException::endOfFile || !IsShortenedUnderneath())
                throw;
            ReportShortened();
            return false;
        }
        StartWatching();
        ReportDroppedSteps();
    }
    SetModifiedFlag(false);
    return true;
}

bool CQuexoDoc::SaveToOtherFile(const QString& path) {
    CFileException error;
    std::unique_ptr<CFile64> target = GetFile(
        path, CFile64::modeCreate | CFile64::modeReadWrite | CFile64::shareExclusive, &error);
    if (!target) {
        ReportSaveLoadException(path, &error, true, AFX_IDP_INVALID_FILENAME);
        return false;
    }
    try {
        CWaitCursor wait;
        QScopedValueRollback<bool> saving(m_bSavingNow, true);
        CProgress progress(SaveProgressLabel(), ProgressParent());
        std::vector<std::uint8_t> buffer(kCopyBlock);
        const std::int64_t length = m_pFile->GetLength();
        std::int64_t copied = 0;
        for (;;) {
            // Positional reads: a repaint while the progress runs reads too.
            const std::int64_t got = m_pFile->ReadAt(copied, buffer.data(), kCopyBlock);
            if (got == 0)
                break;
            target->Write(buffer.data(), static_cast<std::uint32_t>(got));
            copied += got;
            if (progress.Step(copied, length)) {
                ReleaseFile(std::move(target), true); // the temporary file goes
                return false;
            }
        }
        // Reads stop early when another program shortened the file under us.
        if (copied != m_pFile->GetLength())
            throw CFileException(CFileException::endOfFile, -1, m_pFile->GetSourcePath());
        ReleaseFile(std::move(target), false);
    } catch (const std::exception& e) {
        ReleaseFile(std::move(target), true); // the temporary file goes, the target stays
        const auto* fileError = dynamic_cast<const CFileException*>(&e);
        if (fileError && fileError->m_cause == CFileException::endOfFile && IsShortenedUnderneath())
            ReportShortened();
        else
            ReportSaveLoadException(path, &e, true, AFX_IDP_FAILED_TO_SAVE_DOC);
        return false;
    }

    // Keep the old file object alive while the new file opens: the views still
    // show it (the document holds no model meanwhile, so they are not told to
    // let go), and a prompt during the open repaints them. Should the open
    // fail or hand the file to the text editor, the document stays on it, with
    // its name and modified flag; the copy just written stays on disk.
    std::unique_ptr<CPieceFile64> previous = std::move(m_pFile);
    const bool previousReadOnly = m_bReadOnly;
    const CFileChangeTracker previousOutside = m_outside;
    if (!OnOpenDocument(path)) {
        m_bReadOnly = previousReadOnly;
        ReplaceModel(std::move(previous));
        StartWatching();
        m_outside = previousOutside; // what the old file's watch knew still holds
        return false;
    }
    UpdateAllViews(nullptr, kHintAll);
    SetModifiedFlag(false);
    return true;
}

void CQuexoDoc::OnFileEditAsText() {
    if (!SaveModified())
        return;
    const QString path = GetPathName();
    const int openDocuments = GetDocTemplate() ? int(GetDocTemplate()->GetDocuments().size()) : 1;
    QPointer<CMDIFrameWnd> mainWnd = AfxGetApp() ? AfxGetApp()->GetMainWnd() : nullptr;

    OnCloseDocument();
    CTextHandOff::Current().OpenInTextEditor(path);
    // Handing over the last document also ends the hex editor.
    if (openDocuments <= 1 && mainWnd)
        QMetaObject::invokeMethod(
            mainWnd.data(), [mainWnd] { mainWnd->close(); }, Qt::QueuedConnection);
}
