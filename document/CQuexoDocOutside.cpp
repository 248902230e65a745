// Another program and the open file: watching it, telling the user what
// changed, and reading it again. Nothing here reads the content to find out:
// the open file's identity (device, number, size, write time) and the one its
// name leads to say it all, for two status calls.
#include "document/CQuexoDoc.h"

#include "document/UpdateHints.h"
#include "framework/CWinApp.h"
#include "framework/Prompt.h"
#include "framework/StdCommandIds.h"
#include "resources/StringTable.h"
#include "storage/CFileException.h"
#include "storage/CPieceFile64.h"

#include <QApplication>
#include <QFileSystemWatcher>

#include <memory>

namespace {

constexpr unsigned kNewVersionKept = 160;
constexpr unsigned kRemovedKept = 161;
constexpr unsigned kChangedInPlace = 162;
constexpr unsigned kChangedWithEdits = 163;
constexpr unsigned kEditsOverOtherBytes = 164;
constexpr unsigned kEditsOverOpenedVersion = 165;
constexpr unsigned kReloadDropsEdits = 166;
constexpr unsigned kShortened = 167;
constexpr unsigned kShortenedNotSaved = 168;
constexpr unsigned kSaveOverOtherVersion = 169;
constexpr unsigned kGrown = 170;

// A burst of writes gives a burst of notifications: look once it settles.
constexpr int kSettleMs = 150;
// While a save or a question is under way, look again later.
constexpr int kRetryMs = 500;

QString Text(unsigned id, const std::string& name, const std::string& second = {}) {
    return QString::fromStdString(res::FormatArgs(res::LoadString(id), {name, second}));
}

} // namespace

std::string CQuexoDoc::WatchedName() const {
    return m_pFile ? m_pFile->GetSavePath() : std::string();
}

FileChange CQuexoDoc::GetOutsideChange() const {
    if (!m_pFile || !m_pFile->HasFile() || m_pFile->GetWriteCount() != m_nWritesSeen)
        return FileChange::None;
    return m_outside.Current(m_pFile->GetSourceIdentity(), platform::IdentityOfName(WatchedName()));
}

bool CQuexoDoc::IsShortenedUnderneath() const {
    return m_pFile && m_pFile->HasFile() &&
           m_outside.Current(m_pFile->GetSourceIdentity(),
                             platform::IdentityOfName(WatchedName())) == FileChange::Shortened;
}

void CQuexoDoc::StartWatching() {
    if (!m_pFile || !m_pFile->HasFile()) {
        StopWatching();
        return;
    }
    const std::string name = WatchedName();
    m_outside.Reset(m_pFile->GetSourceIdentity(), platform::IdentityOfName(name));
    m_nWritesSeen = m_pFile->GetWriteCount();
    if (!m_pWatcher) {
        m_pWatcher = new QFileSystemWatcher(this);
        connect(m_pWatcher, &QFileSystemWatcher::fileChanged, this,
                [this] { OnWatchedPathChanged(); });
        connect(m_pWatcher, &QFileSystemWatcher::directoryChanged, this,
                [this] { OnWatchedPathChanged(); });
        m_outsideCheck.setSingleShot(true);
        connect(&m_outsideCheck, &QTimer::timeout, this, [this] { CheckOutsideChange(); });
        // Coming back to the editor looks too: a file on a share may change
        // without any notification.
        connect(qApp, &QGuiApplication::applicationStateChanged, this,
                [this](Qt::ApplicationState state) {
                    if (state == Qt::ApplicationActive && m_pFile && m_pFile->HasFile())
                        m_outsideCheck.start(0);
                });
    }
    const QStringList old = m_pWatcher->files() + m_pWatcher->directories();
    if (!old.isEmpty())
        m_pWatcher->removePaths(old);
    // The folder too: a new file renamed over the name, or the name removed,
    // shows there first (the file's own watch follows the old file).
    const QString path = DecodePath(name);
    m_pWatcher->addPath(path);
    m_pWatcher->addPath(DecodePath(platform::FolderOf(name)));
}

void CQuexoDoc::FollowOwnWrites() {
    if (m_pFile && m_pFile->GetWriteCount() != m_nWritesSeen) {
        m_outside.Reset(m_pFile->GetSourceIdentity(), platform::IdentityOfName(WatchedName()));
        m_nWritesSeen = m_pFile->GetWriteCount();
    }
}

void CQuexoDoc::StopWatching() {
    m_outside.Reset({}, {});
    m_outsideCheck.stop();
    if (m_pWatcher) {
        const QStringList old = m_pWatcher->files() + m_pWatcher->directories();
        if (!old.isEmpty())
            m_pWatcher->removePaths(old);
    }
}

void CQuexoDoc::OnWatchedPathChanged() {
    // A file written anew under the name drops out of the watch: take the
    // name up again, on whatever file it now leads to.
    const QString path = DecodePath(WatchedName());
    if (m_pWatcher && !path.isEmpty() && !m_pWatcher->files().contains(path))
        m_pWatcher->addPath(path);
    m_outsideCheck.start(kSettleMs);
}

void CQuexoDoc::CheckOutsideChange() {
    if (!m_pFile || !m_pFile->HasFile())
        return;
    // Our own save writes the file too; and one question at a time.
    if (m_bSavingNow || m_bAskingOutside || QApplication::activeModalWidget()) {
        m_outsideCheck.start(kRetryMs);
        return;
    }
    FollowOwnWrites();
    const FileChange change =
        m_outside.TakeNew(m_pFile->GetSourceIdentity(), platform::IdentityOfName(WatchedName()));
    if (change == FileChange::None)
        return;

    struct Asking {
        bool& flag;
        explicit Asking(bool& f) : flag(f) { flag = true; }
        ~Asking() { flag = false; }
    } asking(m_bAskingOutside);
    const std::string name = WatchedName();
    const bool modified = IsModified();
    // Every view shows the content as it now reads while the question is up.
    UpdateAllViews(nullptr, kHintAll);

    switch (change) {
    case FileChange::None:
        return;
    case FileChange::Removed:
        AfxMessageBox(Text(kRemovedKept, name), MB_OK | MB_ICONEXCLAMATION);
        return;
    case FileChange::Shortened: {
        std::int64_t length = m_pFile->GetSourceIdentity().m_nSize;
        if (AfxMessageBox(Text(kShortened, name, std::to_string(length)),
                          MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
            return;
        if (modified && AfxMessageBox(Text(kReloadDropsEdits, name), MB_YESNO) != IDYES)
            return;
        ReloadFile();
        return;
    }
    case FileChange::Replaced:
    case FileChange::Grown:
    case FileChange::ChangedInPlace:
        break;
    }

    int answer = IDCANCEL;
    if (modified) {
        const unsigned detail =
            change == FileChange::Replaced ? kEditsOverOpenedVersion : kEditsOverOtherBytes;
        answer = AfxMessageBox(Text(kChangedWithEdits, name, res::LoadString(detail)),
                               MB_YESNOCANCEL | MB_ICONEXCLAMATION);
        if (answer == IDYES && AfxMessageBox(Text(kReloadDropsEdits, name), MB_YESNO) != IDYES)
            return;
    } else if (change == FileChange::Replaced) {
        answer = AfxMessageBox(Text(kNewVersionKept, name), MB_YESNO);
        if (answer == IDNO)
            return; // keep showing the opened version, still whole
    } else {
        const unsigned text = change == FileChange::Grown ? kGrown : kChangedInPlace;
        answer = AfxMessageBox(Text(text, name), MB_YESNOCANCEL | MB_ICONEXCLAMATION);
    }
    if (answer == IDYES)
        ReloadFile();
    else if (answer == IDNO)
        DoSave(QString()); // Save As; its own failures are reported there
}

void CQuexoDoc::OnFileReload() {
    if (!m_pFile || GetPathName().isEmpty())
        return;
    if (IsModified() &&
        AfxMessageBox(Text(kReloadDropsEdits, WatchedName()), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    ReloadFile();
}

bool CQuexoDoc::ReloadFile() {
    const QString path = GetPathName();
    if (path.isEmpty() || !m_pFile)
        return false;
    const std::string name = EncodePath(path);
    EndTypingRun();

    // The file we hold may be the one to open again: our own lock on it would
    // refuse the new open, so it goes first, once the views let go of it.
    auto open = [&name](bool* readOnly, CFileException* error) {
        auto file = std::make_unique<CPieceFile64>();
        *readOnly = false;
        if (file->Open(name.c_str(), CPieceFile64::modeReadWrite | CPieceFile64::shareDenyWrite,
                       error))
            return file;
        *readOnly = true;
        if (file->Open(name.c_str(), CPieceFile64::modeRead | CPieceFile64::shareDenyWrite, error))
            return file;
        return std::unique_ptr<CPieceFile64>();
    };
    bool readOnly = true;
    CFileException error;
    std::unique_ptr<CPieceFile64> file = open(&readOnly, &error);
    if (!file && error.m_cause == CFileException::sharingViolation) {
        m_bReadOnly = true;
        ReplaceModel(std::make_unique<CPieceFile64>()); // an empty, read-only stand-in meanwhile
        UpdateAllViews(nullptr, kHintAll);
        file = open(&readOnly, &error);
    }
    if (!file) {
        // Either the old file still shows, or (when our own hold was in the
        // way) nothing does: then the document stays empty and read-only, so
        // nothing can be saved over the file in its name.
        ++m_nRevision;
        UpdateAllViews(nullptr, kHintAll);
        ReportSaveLoadException(path, &error, false, AFX_IDP_FAILED_TO_OPEN_DOC);
        return false;
    }
    m_bReadOnly = readOnly;
    ReplaceModel(std::move(file));
    ResetHistory();
    SetModifiedFlag(false);
    StartWatching();
    // Views clamp their caret and selection to the new length and keep their
    // first row where it still exists.
    UpdateAllViews(nullptr, kHintAll);
    return true;
}

bool CQuexoDoc::ConfirmSaveOverOutsideChange() {
    FollowOwnWrites();
    const FileChange change = GetOutsideChange();
    if (change == FileChange::None)
        return true;
    // A link or another object put in the file's place: the save refuses it
    // with its own message, there is nothing to agree to.
    bool exists = false;
    if (!platform::IsRegularName(WatchedName(), &exists) && exists)
        return true;
    // The user has now heard of this state; the watcher need not ask again.
    m_outside.TakeNew(m_pFile->GetSourceIdentity(), platform::IdentityOfName(WatchedName()));
    return AfxMessageBox(Text(kSaveOverOtherVersion, WatchedName()),
                         MB_YESNO | MB_ICONEXCLAMATION) == IDYES;
}

void CQuexoDoc::ReportShortened() {
    const std::int64_t length = m_pFile ? m_pFile->GetSourceIdentity().m_nSize : 0;
    AfxMessageBox(Text(kShortenedNotSaved, WatchedName(), std::to_string(length)),
                  MB_OK | MB_ICONEXCLAMATION);
}
