#include "commands/FindAllCommands.h"

#include "commands/CFindAllDlg.h"
#include "commands/CFindAllPanel.h"
#include "commands/EditCommands.h"
#include "commands/FindCommands.h"
#include "display/IHexView.h"
#include "display/ViewCommandIds.h"
#include "document/CQuexoDoc.h"
#include "document/UpdateHints.h"
#include "framework/CProgress.h"
#include "framework/CWaitCursor.h"
#include "framework/CommandGuard.h"
#include "framework/StdCommandIds.h"
#include "storage/CPieceFile64.h"

#include <QElapsedTimer>
#include <QPointer>

#include <memory>

namespace {

constexpr qint64 kLabelIntervalMs = 200;

QString ProgressLabel(std::int64_t offset, std::int64_t found) {
    return FindCommands::SearchProgressLabel(offset) +
           QStringLiteral("\nOccurrences : %1").arg(found);
}

// Searches [start, end) with the progress dialog after half a second; Cancel
// keeps what was found so far, marked incomplete.
void Search(CQuexoDoc& doc, IHexView& view, CFindAllPanel& panel, const CByteString& pattern,
            bool matchCase, std::int64_t start, std::int64_t end, bool inSelection) {
    RunGuarded([&] {
        const CPieceFile64* file = doc.GetPieceFile();
        if (!file)
            return;
        CFindAllResults results;
        {
            CWaitCursor wait;
            CProgress progress(ProgressLabel(start, 0), view.DialogParent());
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
            view.IsHexAddress(), view.GetCharSet());
    });
}

} // namespace

namespace FindAllCommands {

void OnEditFindAll(CQuexoDoc& doc, IHexView& view, CFindAllPanel& panel) {
    const CByteRange selection = view.GetSelection();
    CFindAllDlg dialog(view.GetCharSet(), selection.length > 0);
    CByteString seed;
    if (!RunGuarded([&] { seed = EditCommands::SelectedBytes(view, FindCommands::kSeedLength); }))
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
    Search(doc, view, panel, dialog.m_strBytes, dialog.m_bMatchCase, start, end,
           dialog.m_nScope == 1);
}

void SearchAgain(CQuexoDoc& doc, IHexView& view, CFindAllPanel& panel) {
    const CFindAllResults& last = panel.Results();
    const CByteString pattern = last.m_pattern;
    const CPieceFile64* file = doc.GetPieceFile();
    const std::int64_t length = file ? file->GetLength() : 0;
    const CByteRange selection = view.GetSelection();
    const bool inSelection = last.m_bInSelection && selection.length > 0;
    Search(doc, view, panel, pattern, last.m_bMatchCase, inSelection ? selection.start : 0,
           inSelection ? selection.End() : length, inSelection);
}

} // namespace FindAllCommands

namespace {

// One view's results panel and the content its results were found in.
class CFindAllLink {
public:
    explicit CFindAllLink(IHexView& view) : m_view(view) {}

    CFindAllPanel& Panel() {
        CFindAllPanel* panel = m_pPanel.data();
        return panel ? *panel : MakePanel();
    }

    void OnFindAll() {
        if (CQuexoDoc* doc = m_view.GetDocument())
            FindAllCommands::OnEditFindAll(*doc, m_view, Panel());
    }

    void OnViewUpdated(long parts) {
        CFindAllPanel* panel = m_pPanel.data();
        if (!panel)
            return;
        if (parts & kHintContentChanged)
            CheckCurrent(*panel);
        if (parts & kHintSettingsChanged)
            panel->SetAddressBase(m_view.IsHexAddress());
    }

private:
    CFindAllPanel& MakePanel() {
        auto* panel = new CFindAllPanel;
        m_pPanel = panel;
        m_view.SetBottomPanel(panel);
        QObject::connect(panel, &CFindAllPanel::resultsShown, panel, [this] {
            const CQuexoDoc* doc = m_view.GetDocument();
            m_nRevision = doc ? doc->GetRevision() : 0;
            m_pFile = doc ? doc->GetPieceFile() : nullptr;
        });
        QObject::connect(panel, &CFindAllPanel::highlightChanged, panel,
                         [this, panel] { UpdateHighlight(*panel); });
        QObject::connect(panel, &CFindAllPanel::matchChosen, panel,
                         [this](qint64 offset, qint64 length) { Select(offset, length); });
        QObject::connect(panel, &CFindAllPanel::searchAgainRequested, panel, [this, panel] {
            if (CQuexoDoc* doc = m_view.GetDocument())
                FindAllCommands::SearchAgain(*doc, m_view, *panel);
        });
        return *panel;
    }

    void UpdateHighlight(const CFindAllPanel& panel) {
        if (panel.IsHighlighting()) {
            const CFindAllResults& results = panel.Results();
            m_view.SetMatchHighlight(results.m_pattern, results.m_bMatchCase);
        } else {
            m_view.SetMatchHighlight({}, false);
        }
    }

    void Select(std::int64_t offset, std::int64_t length) {
        // The panel refuses rows once the content changed; this is the last
        // guard against selecting past the end.
        const CQuexoDoc* doc = m_view.GetDocument();
        const CPieceFile64* file = doc ? doc->GetPieceFile() : nullptr;
        if (!file || offset < 0 || offset + length > file->GetLength())
            return;
        m_view.SetPlace({offset + length, offset});
    }

    // An edit, or another file under the document, makes the list out of date.
    void CheckCurrent(CFindAllPanel& panel) {
        if (panel.IsOutOfDate())
            return;
        const CQuexoDoc* doc = m_view.GetDocument();
        const std::uint64_t revision = doc ? doc->GetRevision() : 0;
        const CPieceFile64* file = doc ? doc->GetPieceFile() : nullptr;
        if (revision != m_nRevision || file != m_pFile)
            panel.SetOutOfDate(true);
    }

    IHexView& m_view;
    QPointer<CFindAllPanel> m_pPanel; // a child of the view
    std::uint64_t m_nRevision = 0;
    const CPieceFile64* m_pFile = nullptr;
};

} // namespace

namespace FindAllCommands {

void AttachTo(IHexView& view) {
    // The view keeps its handlers, and with them the link, for its lifetime.
    auto link = std::make_shared<CFindAllLink>(view);
    view.AddCommand(ID_EDIT_FINDALL, [link] { link->OnFindAll(); });
    view.AddUpdateListener([link](long parts) { link->OnViewUpdated(parts); });
}

} // namespace FindAllCommands
