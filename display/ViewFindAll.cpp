// The view's "Rechercher tout" panel: under the grid, one per window, shown by
// the first search and hidden by its close button.
#include "commands/CFindAllPanel.h"
#include "commands/FindAllCommands.h"
#include "display/CQuexoView.h"
#include "display/DisplayGlobals.h"
#include "display/ViewCommandIds.h"
#include "document/CQuexoDoc.h"
#include "storage/CPieceFile64.h"

#include <algorithm>

void CQuexoView::RegisterFindAllCommand() {
    OnCommand(ID_EDIT_FINDALL, [this] {
        if (CQuexoDoc* doc = GetDocument())
            FindAllCommands::OnEditFindAll(*doc, m_grid, EnsureFindAllPanel());
    });
}

CFindAllPanel& CQuexoView::EnsureFindAllPanel() {
    if (m_pFindAll)
        return *m_pFindAll;
    m_pFindAll = new CFindAllPanel(this);
    m_pFindAll->hide();
    connect(m_pFindAll, &CFindAllPanel::resultsShown, this, [this] {
        const CQuexoDoc* doc = GetDocument();
        m_nFindAllRevision = doc ? doc->GetRevision() : 0;
        m_pFindAllFile = doc ? doc->GetPieceFile() : nullptr;
        OnFindAllPanelChanged();
    });
    connect(m_pFindAll, &CFindAllPanel::closed, this, [this] {
        OnFindAllPanelChanged();
        m_grid.setFocus();
    });
    connect(m_pFindAll, &CFindAllPanel::highlightChanged, this,
            [this] { OnFindAllPanelChanged(); });
    connect(m_pFindAll, &CFindAllPanel::matchChosen, this,
            [this](qint64 offset, qint64 length) { OnFindAllMatchChosen(offset, length); });
    connect(m_pFindAll, &CFindAllPanel::searchAgainRequested, this, [this] {
        if (CQuexoDoc* doc = GetDocument())
            FindAllCommands::SearchAgain(*doc, m_grid, *m_pFindAll);
    });
    return *m_pFindAll;
}

void CQuexoView::OnFindAllPanelChanged() {
    LayOutChildren();
    if (m_pFindAll && m_pFindAll->IsHighlighting()) {
        const CFindAllResults& results = m_pFindAll->Results();
        m_grid.SetMatchHighlight(results.m_pattern, results.m_bMatchCase != 0);
    } else {
        m_grid.SetMatchHighlight({}, false);
    }
}

void CQuexoView::OnFindAllMatchChosen(std::int64_t offset, std::int64_t length) {
    // The panel refuses rows once the content changed; this is the last guard
    // against selecting past the end.
    if (offset < 0 || offset + length > m_grid.GetLength())
        return;
    m_grid.SetCaret(offset + length, true);
    m_grid.SetAnchor(offset);
}

void CQuexoView::CheckFindAllCurrent() {
    if (!m_pFindAll || m_pFindAll->IsOutOfDate())
        return;
    const CQuexoDoc* doc = GetDocument();
    const std::uint64_t revision = doc ? doc->GetRevision() : 0;
    const CPieceFile64* file = doc ? doc->GetPieceFile() : nullptr;
    if (revision != m_nFindAllRevision || file != m_pFindAllFile)
        m_pFindAll->SetOutOfDate(true);
}

void CQuexoView::OnFindAllSettingsChanged() {
    if (m_pFindAll)
        m_pFindAll->SetAddressBase(g_bHexAddress != 0);
}

void CQuexoView::LayOutChildren() {
    const QRect all = rect();
    if (!m_pFindAll || !m_pFindAll->isVisibleTo(this)) {
        m_grid.setGeometry(all);
        return;
    }
    // A third of the window, within reason, and never more than half.
    const int panel = std::min(all.height() / 2, std::clamp(all.height() / 3, 140, 280));
    m_grid.setGeometry(all.adjusted(0, 0, 0, -panel));
    m_pFindAll->setGeometry(all.x(), all.bottom() + 1 - panel, all.width(), panel);
}
