#include "commands/FindAllCommands.h"

#include "commands/CFindAllDlg.h"
#include "commands/CFindAllPanel.h"
#include "commands/FindCommands.h"
#include "display/CHexGridWnd.h"
#include "document/CQuexoDoc.h"
#include "framework/CProgress.h"
#include "framework/CWaitCursor.h"
#include "framework/CommandGuard.h"
#include "framework/StdCommandIds.h"
#include "storage/CPieceFile64.h"

#include <QElapsedTimer>
#include <QPointer>

namespace {

constexpr qint64 kLabelIntervalMs = 200;

QString ProgressLabel(std::int64_t offset, std::int64_t found) {
    return FindCommands::SearchProgressLabel(offset) +
           QStringLiteral("\nOccurrences : %1").arg(found);
}

// Searches [start, end) with the progress dialog after half a second; Cancel
// keeps what was found so far, marked incomplete.
void Search(CQuexoDoc& doc, CHexGridWnd& grid, CFindAllPanel& panel, const CByteString& pattern,
            int matchCase, std::int64_t start, std::int64_t end, bool inSelection) {
    RunGuarded([&] {
        const CPieceFile64* file = doc.GetPieceFile();
        if (!file)
            return;
        CFindAllResults results;
        {
            CWaitCursor wait;
            CProgress progress(ProgressLabel(start, 0), grid.window());
            QElapsedTimer labelClock;
            labelClock.start();
            results = FindAllOccurrences(
                *file, pattern, matchCase, start, end,
                [&](std::int64_t reached, std::int64_t found) {
                    const bool cancelled = progress.Step(reached - start, end - start);
                    if (progress.Dialog() && labelClock.elapsed() >= kLabelIntervalMs) {
                        progress.SetLabel(ProgressLabel(reached, found));
                        labelClock.restart();
                    }
                    return cancelled;
                });
        }
        results.m_bInSelection = inSelection;
        // The rows read the document's file as it is when they are drawn.
        panel.ShowResults(
            std::move(results),
            [source = QPointer<CQuexoDoc>(&doc)]() -> const CPieceFile64* {
                const CQuexoDoc* document = source.data();
                return document ? document->GetPieceFile() : nullptr;
            },
            grid.IsHexAddress(), grid.GetCharSet());
    });
}

} // namespace

namespace FindAllCommands {

void OnEditFindAll(CQuexoDoc& doc, CHexGridWnd& grid, CFindAllPanel& panel) {
    const CByteRange selection = grid.GetSelection();
    CFindAllDlg dialog(grid.GetCharSet(), selection.length > 0);
    CByteString seed;
    if (!RunGuarded([&] { seed = grid.GetSelectedBytes(FindCommands::kSeedLength); }))
        return;
    // A selection longer than a search is more likely the place to search in.
    const bool selectionAsScope = selection.length > FindCommands::kSeedLength;
    dialog.m_strBytes = selectionAsScope || seed.empty() ? panel.Results().m_pattern : seed;
    dialog.m_bMatchCase = panel.Results().m_bMatchCase;
    dialog.m_nScope = selectionAsScope ? 1 : 0;
    if (dialog.DoModal() != IDOK || dialog.m_strBytes.empty())
        return;
    const CPieceFile64* file = doc.GetPieceFile();
    const std::int64_t length = file ? file->GetLength() : 0;
    const std::int64_t start = dialog.m_nScope == 1 ? selection.start : 0;
    const std::int64_t end = dialog.m_nScope == 1 ? selection.End() : length;
    Search(doc, grid, panel, dialog.m_strBytes, dialog.m_bMatchCase, start, end,
           dialog.m_nScope == 1);
}

void SearchAgain(CQuexoDoc& doc, CHexGridWnd& grid, CFindAllPanel& panel) {
    const CFindAllResults& last = panel.Results();
    const CByteString pattern = last.m_pattern;
    const CPieceFile64* file = doc.GetPieceFile();
    const std::int64_t length = file ? file->GetLength() : 0;
    const CByteRange selection = grid.GetSelection();
    const bool inSelection = last.m_bInSelection && selection.length > 0;
    Search(doc, grid, panel, pattern, last.m_bMatchCase, inSelection ? selection.start : 0,
           inSelection ? selection.End() : length, inSelection);
}

} // namespace FindAllCommands
