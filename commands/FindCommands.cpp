#include "commands/FindCommands.h"

#include "commands/CFindDlg.h"
#include "display/CHexGridWnd.h"
#include "document/CQuexoDoc.h"
#include "framework/CCmdUI.h"
#include "framework/CProgress.h"
#include "framework/CWaitCursor.h"
#include "framework/CommandGuard.h"
#include "framework/Prompt.h"
#include "resources/StringTable.h"
#include "storage/CPieceFile64.h"

#include <QElapsedTimer>

namespace {

constexpr unsigned kNotFoundMessage = 135;
// How often the progress label follows the offset reached.
constexpr qint64 kLabelIntervalMs = 200;

QString ProgressLabel(std::int64_t offset) {
    const QString hex = QString::number(static_cast<qulonglong>(offset), 16).toUpper();
    return QStringLiteral("Recherche en cours...\nOffset : 0x%1").arg(hex);
}

// Clears the file's cancel check however the search ends.
struct CancelCheckScope {
    CPieceFile64& file;
    ~CancelCheckScope() { file.SetCancelCheck(nullptr); }
};

} // namespace

namespace FindCommands {

std::int64_t FindWithProgress(CPieceFile64& file, const CByteString& pattern, int matchCase,
                              int down, std::int64_t start, std::int64_t limit, QWidget* parent) {
    CProgress progress(ProgressLabel(start), parent);
    QElapsedTimer labelClock;
    labelClock.start();
    const std::int64_t end = limit >= 0 ? limit : file.GetLength();
    file.SetCancelCheck([&] {
        // The search reads on from its position; a repaint in between may use
        // the same file, so the position is put back before the search resumes.
        const std::int64_t position = file.GetPosition();
        const bool cancelled = down ? progress.Step(position - start, end - start)
                                    : progress.Step(start - position, start);
        if (progress.Dialog() && labelClock.elapsed() >= kLabelIntervalMs) {
            progress.SetLabel(ProgressLabel(position));
            labelClock.restart();
        }
        if (file.GetPosition() != position)
            file.Seek(position, CFile64::begin);
        return cancelled;
    });
    const CancelCheckScope scope{file};
    return file.Find(pattern, matchCase, down, start, limit);
}

void OnEditFind(CQuexoDoc& doc, CHexGridWnd& grid, const CFindState& state) {
    CFindDlg dialog(grid.m_nCharSet);
    // Case and direction start afresh at every opening; find next keeps the
    // remembered ones.
    dialog.m_bMatchCase = 0;
    dialog.m_nDirection = 1;
    CByteString seed;
    if (!RunGuarded([&] { seed = grid.GetSelectedBytes(kSeedLength); }))
        return;
    dialog.m_strBytes = seed.empty() ? state.m_findBytes : seed;
    if (dialog.DoModal() != IDOK)
        return;
    state.m_bMatchCase = dialog.m_bMatchCase;
    state.m_bSearchDown = dialog.m_nDirection;
    state.m_findBytes = dialog.m_strBytes;
    OnEditFindNext(doc, grid, state);
}

void OnEditFindNext(CQuexoDoc& doc, CHexGridWnd& grid, const CFindState& state) {
    RunGuarded([&] {
        CPieceFile64* file = doc.m_pFile;
        if (!file)
            return;
        std::int64_t result = -1;
        {
            CWaitCursor wait;
            result = FindWithProgress(*file, state.m_findBytes, state.m_bMatchCase,
                                      state.m_bSearchDown, grid.m_nCaret, -1, grid.window());
        }
        if (result < 0) {
            // Not found and cancelled alike; caret and selection stay.
            AfxMessageBox(QString::fromUtf8(res::LoadString(kNotFoundMessage)), MB_OK);
            return;
        }
        const auto len = static_cast<std::int64_t>(state.m_findBytes.size());
        if (state.m_bSearchDown) {
            // The caret after the match, so the next search goes on past it.
            grid.SetCaret(result + len, true);
            grid.SetAnchor(result);
        } else {
            // Upward the result is the match's last byte; the caret goes on its
            // first, so the next search goes on before it.
            const std::int64_t first = len == 0 ? result : result - len + 1;
            grid.SetCaret(first, true);
            grid.SetAnchor(first + len);
        }
    });
}

void OnUpdateEditFindNext(const CFindState& state, CCmdUI* ui) {
    ui->Enable(!state.m_findBytes.empty());
}

} // namespace FindCommands
