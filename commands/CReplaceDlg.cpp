#include "commands/CReplaceDlg.h"
#include "commands/EditCommands.h"

#include "commands/CHexTextSync.h"
#include "commands/DialogButtons.h"
#include "commands/FindCommands.h"
#include "commands/ReplaceLoop.h"
#include "display/IHexView.h"
#include "document/CQuexoDoc.h"
#include "framework/CProgress.h"
#include "framework/CWaitCursor.h"
#include "framework/CommandGuard.h"
#include "framework/Prompt.h"
#include "resources/StringTable.h"
#include "storage/CPieceFile64.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <optional>

namespace {

constexpr unsigned kNotFoundMessage = 135;
constexpr unsigned kSizesDifferQuestion = 143;
constexpr unsigned kFlushQuestion = 144;
constexpr unsigned kReplacedCountMessage = 145;
constexpr unsigned kNothingToFindMessage = 147;
// Selections shorter than this seed the find bytes; longer ones are the scope.
constexpr std::int64_t kScopeSelection = 50;

QString Text(unsigned id) {
    return QString::fromUtf8(res::LoadString(id));
}

// A text field and a hex field under a group box titled `title`.
QGroupBox* FieldPair(const QString& title, QLineEdit* text, QLineEdit* hex, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QGridLayout(box);
    auto* textLabel = new QLabel(QStringLiteral("Texte:"), box);
    textLabel->setBuddy(text);
    auto* hexLabel = new QLabel(QStringLiteral("Hex:"), box);
    hexLabel->setBuddy(hex);
    layout->addWidget(textLabel, 0, 0);
    layout->addWidget(text, 0, 1);
    layout->addWidget(hexLabel, 1, 0);
    layout->addWidget(hex, 1, 1);
    layout->setColumnStretch(1, 1);
    return box;
}

// The replace loop's progress, put aside while the flush question is asked.
// A flush the loop makes shows in the same dialog, under the save label.
class ReplaceProgress {
public:
    ReplaceProgress(CPieceFile64& file, QWidget* parent, std::int64_t start, std::int64_t end)
        : m_file(file), m_parent(parent), m_nStart(start), m_nEnd(end) {
        Resume();
    }
    void Pause() {
        m_check.reset();
        m_progress.reset();
    }
    void Resume() {
        m_progress.emplace(FindCommands::SearchProgressLabel(m_nStart), m_parent);
        m_check.emplace(m_file, *m_progress, m_nStart, m_nEnd);
    }
    bool Step(std::int64_t offset) {
        return m_progress->Step(offset - m_nStart, m_nEnd - m_nStart);
    }
    bool Cancelled() const { return m_progress->Cancelled(); }
    bool FlushStep(std::int64_t done, std::int64_t total) {
        m_progress->SetLabel(QStringLiteral("Enregistrement..."));
        return m_progress->Step(done, total);
    }
    void FlushEnded(std::int64_t offset) {
        m_progress->SetLabel(FindCommands::SearchProgressLabel(offset));
    }

private:
    CPieceFile64& m_file;
    QWidget* m_parent;
    std::int64_t m_nStart;
    std::int64_t m_nEnd;
    std::optional<CProgress> m_progress;
    std::optional<FindCommands::CSearchCancelCheck> m_check;
};

// Replacements through the document's edit path, with the piece-level steps
// of the loop: the length difference deleted or inserted at the occurrence,
// then the replacement written over it.
class CDocumentReplaceTarget : public IReplaceTarget {
public:
    CDocumentReplaceTarget(CQuexoDoc& doc, CPieceFile64::SaveProgress flushProgress)
        : m_doc(doc), m_file(*doc.GetPieceFile()), m_flushProgress(std::move(flushProgress)) {}
    std::int64_t Find(const CByteString& pattern, int matchCase, std::int64_t start,
                      std::int64_t limit) override {
        return m_file.Find(pattern, matchCase, 1, start, limit);
    }
    void Replace(std::int64_t offset, std::int64_t length,
                 const CByteString& replacement) override {
        const auto rlen = static_cast<std::int64_t>(replacement.size());
        if (length > rlen)
            m_doc.DeleteBytes({offset, length - rlen});
        else if (length < rlen)
            m_doc.InsertBytes(offset, static_cast<std::uint32_t>(rlen - length), 0);
        m_doc.OverwriteBytes(offset, replacement.data(), rlen);
    }
    int GetPieceCount() const override { return m_file.GetPieceCount(); }
    // A cancelled flush throws CSaveCancelled with the file on disk and the
    // edits as they were.
    void Flush() override {
        m_file.SetSaveProgress(m_flushProgress);
        struct ClearProgress {
            CPieceFile64& file;
            ~ClearProgress() { file.SetSaveProgress(nullptr); }
        } clear{m_file};
        m_file.Flush();
    }

private:
    CQuexoDoc& m_doc;
    CPieceFile64& m_file;
    CPieceFile64::SaveProgress m_flushProgress;
};

bool IsSaveCancelled(const std::exception_ptr& error) {
    try {
        if (error)
            std::rethrow_exception(error);
    } catch (const CSaveCancelled&) {
        return true;
    } catch (...) {
    }
    return false;
}

} // namespace

CReplaceDlg::CReplaceDlg(CQuexoDoc& doc, IHexView& view, int charSet, QWidget* parent)
    : CDialog(parent), m_doc(doc), m_view(view), m_pFindText(new QLineEdit(this)),
      m_pFindHex(new QLineEdit(this)), m_pReplaceText(new QLineEdit(this)),
      m_pReplaceHex(new QLineEdit(this)),
      m_pMatchCase(new QCheckBox(QStringLiteral("&Assortir case"), this)),
      m_pFindNext(new QPushButton(QStringLiteral("&Suivant ..."), this)),
      m_pReplace(new QPushButton(QStringLiteral("&Remplacer"), this)),
      m_pReplaceAll(new QPushButton(QStringLiteral("Remplacer &Tous"), this)),
      m_pCancel(new QPushButton(QStringLiteral("Annuler"), this)),
      m_pFindSync(new CHexTextSync(*m_pFindText, *m_pFindHex, charSet)),
      m_pReplaceSync(new CHexTextSync(*m_pReplaceText, *m_pReplaceHex, charSet)) {
    setWindowTitle(QStringLiteral("Remplacer"));
    m_pFindText->setObjectName(QStringLiteral("edit1054"));
    m_pFindHex->setObjectName(QStringLiteral("edit1055"));
    m_pReplaceText->setObjectName(QStringLiteral("edit1056"));
    m_pReplaceHex->setObjectName(QStringLiteral("edit1057"));
    m_pMatchCase->setObjectName(QStringLiteral("check1024"));
    m_pFindNext->setObjectName(QStringLiteral("button1060"));
    m_pReplace->setObjectName(QStringLiteral("button1061"));
    m_pReplaceAll->setObjectName(QStringLiteral("button1062"));
    m_pCancel->setObjectName(QStringLiteral("button2"));
    const int digit = QFontMetrics(m_pFindHex->font()).horizontalAdvance(QLatin1Char('0'));
    m_pFindHex->setMinimumWidth(digit * 40);

    auto* scopeBox = new QGroupBox(QStringLiteral("Remplacer en"), this);
    m_pSelection = new QRadioButton(QStringLiteral("&Selection"), scopeBox);
    m_pSelection->setObjectName(QStringLiteral("radio1058"));
    m_pWholeFile = new QRadioButton(QStringLiteral("Fichier &Intégral"), scopeBox);
    m_pWholeFile->setObjectName(QStringLiteral("radio1059"));
    auto* scopeLayout = new QHBoxLayout(scopeBox);
    scopeLayout->addWidget(m_pSelection);
    scopeLayout->addWidget(m_pWholeFile);

    TabToTickedRadio({m_pSelection, m_pWholeFile});

    auto* options = new QHBoxLayout;
    options->addWidget(m_pMatchCase);
    options->addWidget(scopeBox, 1);

    auto* fields = new QVBoxLayout;
    fields->addWidget(FieldPair(QStringLiteral("&Trouver Quoi"), m_pFindText, m_pFindHex, this));
    fields->addWidget(
        FieldPair(QStringLiteral("&Remplace par"), m_pReplaceText, m_pReplaceHex, this));
    fields->addLayout(options);

    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {m_pFindNext, m_pReplace, m_pReplaceAll, m_pCancel})
        buttons->addWidget(button);
    buttons->addStretch(1);
    m_pFindNext->setDefault(true);

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    QWidget* order[] = {m_pFindText,  m_pFindHex,    m_pReplaceText, m_pReplaceHex,
                        m_pMatchCase, m_pSelection,  m_pWholeFile,   m_pFindNext,
                        m_pReplace,   m_pReplaceAll, m_pCancel};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Any change of the four fields asks the length question again.
    for (QLineEdit* edit : {m_pFindText, m_pFindHex, m_pReplaceText, m_pReplaceHex})
        connect(edit, &QLineEdit::textEdited, this, [this] { m_bWarnSize = true; });
    connect(m_pSelection, &QRadioButton::clicked, this,
            [this] { OnScopeClicked(ReplaceScope::Selection); });
    connect(m_pWholeFile, &QRadioButton::clicked, this,
            [this] { OnScopeClicked(ReplaceScope::WholeFile); });
    connect(m_pFindNext, &QPushButton::clicked, this, [this] { OnFindNext(); });
    connect(m_pReplace, &QPushButton::clicked, this, [this] {
        ReplaceWorker(false);
        m_pCancel->setText(QStringLiteral("Close"));
    });
    connect(m_pReplaceAll, &QPushButton::clicked, this, [this] {
        ReplaceWorker(true);
        m_pCancel->setText(QStringLiteral("Close"));
    });
    connect(m_pCancel, &QPushButton::clicked, this, &QDialog::reject);
}

CReplaceDlg::~CReplaceDlg() = default;

QRadioButton* CReplaceDlg::ScopeButton(ReplaceScope scope) const {
    return scope == ReplaceScope::Selection ? m_pSelection : m_pWholeFile;
}

bool CReplaceDlg::OnInitDialog() {
    m_pMatchCase->setChecked(m_bMatchCase);
    ScopeButton(m_nScope)->setChecked(true);
    CByteString selected;
    RunGuarded([&] { selected = EditCommands::SelectedBytes(m_view, FindCommands::kSeedLength); });
    const auto count = static_cast<std::int64_t>(selected.size());
    if (count == 0) {
        m_pSelection->setEnabled(false);
    } else if (count < kScopeSelection) {
        m_findBytes = selected;
    } else {
        m_pSelection->setChecked(true);
        m_nScope = ReplaceScope::Selection;
        OnScopeClicked(m_nScope);
    }
    m_pFindSync->SetBytes(m_findBytes);
    m_pFindText->setFocus();
    m_pFindText->selectAll();
    return true;
}

void CReplaceDlg::UpdateData() {
    m_findBytes = m_pFindSync->GetBytes();
    m_replaceBytes = m_pReplaceSync->GetBytes();
    m_bMatchCase = m_pMatchCase->isChecked();
    m_nScope = m_pSelection->isChecked() ? ReplaceScope::Selection : ReplaceScope::WholeFile;
}

void CReplaceDlg::OnScopeClicked(ReplaceScope scope) {
    // In selection scope only "Remplacer Tous" can run.
    m_pFindNext->setEnabled(scope != ReplaceScope::Selection);
    m_pReplace->setEnabled(scope != ReplaceScope::Selection);
}

bool CReplaceDlg::RefuseEmptyFind() const {
    if (!m_findBytes.empty())
        return false;
    AfxMessageBox(Text(kNothingToFindMessage), MB_OK);
    return true;
}

void CReplaceDlg::OnFindNext() {
    UpdateData();
    if (RefuseEmptyFind())
        return;
    // Always downward; the progress opens over this dialog.
    FindCommands::FindNext(m_doc, m_view, m_findBytes, m_bMatchCase, true, this);
}

void CReplaceDlg::ReplaceWorker(bool all) {
    UpdateData();
    CPieceFile64* file = m_doc.GetPieceFile();
    if (!file || RefuseEmptyFind())
        return;
    const auto flen = static_cast<std::int64_t>(m_findBytes.size());
    const auto rlen = static_cast<std::int64_t>(m_replaceBytes.size());
    if (m_bWarnSize && flen != rlen) {
        if (AfxMessageBox(Text(kSizesDifferQuestion), MB_YESNO) != IDYES)
            return;
        m_bWarnSize = false;
    }

    const CByteRange selection = m_view.GetSelection();
    const std::int64_t selStart = selection.start;
    const std::int64_t selLength = selection.length;
    ReplaceRequest request{m_findBytes, m_replaceBytes, m_bMatchCase, all, 0, -1};
    if (m_nScope == ReplaceScope::WholeFile) {
        // One replacement takes a selection of the find length to be the
        // occurrence just found, and replaces it.
        request.start = all ? 0 : (selLength == flen ? selStart : selStart + selLength);
    } else {
        request.start = selStart;
        request.limit = selStart + selLength;
    }

    ReplaceResult result;
    {
        // Every view repaints once, for all the replacements together, and
        // one undo takes them all back.
        const CEditStep step(m_doc, m_view.GetPlace());
        CQuexoDoc::CEditBatch batch(m_doc);
        CWaitCursor wait;
        const std::int64_t end = request.limit >= 0 ? request.limit : file->GetLength();
        ReplaceProgress progress(*file, this, request.start, end);
        ReplaceCallbacks callbacks;
        callbacks.confirmFlush = [&] {
            // The cursor data window reads the content while the question is
            // up: the grid shows the same.
            batch.UpdateViewsNow();
            progress.Pause();
            const bool ok = AfxMessageBox(Text(kFlushQuestion), MB_OKCANCEL) == IDOK;
            progress.Resume();
            return ok;
        };
        callbacks.step = [&](std::int64_t offset) { return progress.Step(offset); };
        callbacks.searchCancelled = [&] { return progress.Cancelled(); };
        CDocumentReplaceTarget target(m_doc, [&](std::int64_t done, std::int64_t total) {
            return progress.FlushStep(done, total);
        });
        result = RunReplace(target, request, callbacks);
        progress.FlushEnded(result.next);
    }
    // Cancelling the flush stops the run like cancelling the search: the
    // replacements so far stay, in the document only.
    if (result.end == ReplaceEnd::Failed && IsSaveCancelled(result.error))
        result.end = ReplaceEnd::Cancelled;

    // The message comes first; the last replacement is selected once it is
    // answered.
    switch (result.end) {
    case ReplaceEnd::NotFound:
    case ReplaceEnd::Cancelled:
        if (all)
            AfxMessageBox(Text(kReplacedCountMessage)
                              .replace(QStringLiteral("%d"), QString::number(result.count)),
                          MB_OK);
        else
            AfxMessageBox(Text(kNotFoundMessage), MB_OK);
        break;
    case ReplaceEnd::Failed:
        ReportException(result.error);
        break;
    case ReplaceEnd::Replaced:
    case ReplaceEnd::FlushDeclined:
    case ReplaceEnd::EmptyFind:
        break;
    }
    if (result.count > 0) {
        m_view.SetPlace({result.next, result.next - rlen});
        m_doc.SetPlaceAfterStep(m_view.GetPlace());
    }
}
