#include "commands/FindCommands.h"

#include "commands/CFindDlg.h"
#include "commands/CReplaceDlg.h"
#include "commands/EditCommands.h"
#include "document/CQuexoDoc.h"
#include "framework/CCmdUI.h"
#include "framework/CProgress.h"
#include "framework/CWaitCursor.h"
#include "framework/CommandGuard.h"
#include "framework/Prompt.h"
#include "resources/StringTable.h"
#include "storage/CPieceFile64.h"

#include <QElapsedTimer>

#include <memory>

namespace {

constexpr unsigned kNotFoundMessage = 135;
// How often the progress label follows the offset reached.
constexpr qint64 kLabelIntervalMs = 200;

} // namespace

namespace FindCommands {

QString SearchProgressLabel(std::int64_t offset) {
    const QString hex = QString::number(static_cast<qulonglong>(offset), 16).toUpper();
    return QStringLiteral("Recherche en cours...\nOffset : 0x%1").arg(hex);
}

CSearchCancelCheck::CSearchCancelCheck(CPieceFile64& file, CProgress& progress, std::int64_t start,
                                       std::int64_t end)
    : m_file(file) {
    auto labelClock = std::make_shared<QElapsedTimer>();
    labelClock->start();
    file.SetCancelCheck([&file, &progress, start, end, labelClock] {
        const std::int64_t position = file.GetPosition();
        const bool cancelled = end >= start ? progress.Step(position - start, end - start)
                                            : progress.Step(start - position, start - end);
        if (progress.Dialog() && labelClock->elapsed() >= kLabelIntervalMs) {
            progress.SetLabel(SearchProgressLabel(position));
            labelClock->restart();
        }
        if (file.GetPosition() != position)
            file.Seek(position, CFile64::begin);
        return cancelled;
    });
}

CSearchCancelCheck::~CSearchCancelCheck() {
    m_file.SetCancelCheck(nullptr);
}

std::int64_t FindWithProgress(CPieceFile64& file, const CByteString& pattern, bool matchCase,
                              bool down, std::int64_t start, std::int64_t limit, QWidget* parent) {
    CProgress progress(SearchProgressLabel(start), parent);
    const std::int64_t end = down ? (limit >= 0 ? limit : file.GetLength()) : 0;
    const CSearchCancelCheck check(file, progress, start, end);
    return file.Find(pattern, matchCase, down, start, limit);
}

void OnEditFind(CQuexoDoc& doc, IHexView& view, const CFindState& state) {
    CFindDlg dialog(view.GetCharSet());
    // Case and direction start afresh at every opening; find next keeps the
    // remembered ones.
    dialog.m_bMatchCase = false;
    dialog.m_nDirection = 1;
    CByteString seed;
    if (!RunGuarded([&] { seed = EditCommands::SelectedBytes(view, kSeedLength); }))
        return;
    dialog.m_strBytes = seed.empty() ? state.m_findBytes : seed;
    if (dialog.DoModal() != IDOK)
        return;
    state.m_bMatchCase = dialog.m_bMatchCase;
    state.m_bSearchDown = dialog.m_nDirection == 1;
    state.m_findBytes = dialog.m_strBytes;
    OnEditFindNext(doc, view, state);
}

void FindNext(CQuexoDoc& doc, IHexView& view, const CByteString& bytes, bool matchCase, bool down,
              QWidget* progressParent) {
    RunGuarded([&] {
        CPieceFile64* file = doc.GetPieceFile();
        if (!file)
            return;
        std::int64_t result = -1;
        {
            CWaitCursor wait;
            result = FindWithProgress(*file, bytes, matchCase, down, view.GetCaret(), -1,
                                      progressParent);
        }
        if (result < 0) {
            // Not found and cancelled alike; caret and selection stay.
            AfxMessageBox(QString::fromUtf8(res::LoadString(kNotFoundMessage)), MB_OK);
            return;
        }
        const auto len = static_cast<std::int64_t>(bytes.size());
        if (down) {
            // The caret after the match, so the next search goes on past it.
            view.SetPlace({result + len, result});
        } else {
            // Upward the result is the match's last byte; the caret goes on its
            // first, so the next search goes on before it.
            const std::int64_t first = len == 0 ? result : result - len + 1;
            view.SetPlace({first, first + len});
        }
    });
}

void OnEditFindNext(CQuexoDoc& doc, IHexView& view, const CFindState& state) {
    FindNext(doc, view, state.m_findBytes, state.m_bMatchCase, state.m_bSearchDown,
             view.DialogParent());
}

void OnEditReplace(CQuexoDoc& doc, IHexView& view, const CByteString& findBytes) {
    CReplaceDlg dialog(doc, view, view.GetCharSet());
    dialog.m_nScope = ReplaceScope::WholeFile;
    dialog.m_bMatchCase = false;
    dialog.m_findBytes = findBytes;
    dialog.DoModal();
}

void OnUpdateEditFindNext(const CFindState& state, CCmdUI* ui) {
    ui->Enable(!state.m_findBytes.empty());
}

} // namespace FindCommands
