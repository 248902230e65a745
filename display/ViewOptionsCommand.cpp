// The view's Options command: the dialog filled from the display settings and
// this view's character set; OK stores them and redraws this view. Other views
// take the settings at their next settings update.
#include "display/COptionsDlg.h"
#include "display/CQuexoView.h"
#include "display/DisplayGlobals.h"
#include "document/CTextHandOff.h"
#include "framework/StdCommandIds.h"

void CQuexoView::OnViewOptions() {
    CTextHandOff& handOff = CTextHandOff::Current();
    COptionsDlg dialog(window());
    dialog.m_nAddressMode = g_bHexAddress ? 0 : 1;
    dialog.m_bShowUpper = g_bUpperChars != 0;
    dialog.m_bFixedColumns = g_nFixedColumns != 0;
    dialog.m_nColumns = g_nFixedColumns > 0 ? static_cast<unsigned>(g_nFixedColumns) : 0;
    dialog.m_nOpenTextMode = handOff.m_nOpenTextMode;
    dialog.m_nCharSet = m_grid.GetCharSet();
    if (dialog.DoModal() != IDOK)
        return;

    g_bUpperChars = dialog.m_bShowUpper ? 1 : 0;
    g_bHexAddress = dialog.m_nAddressMode == 0 ? 1 : 0;
    g_nFixedColumns = dialog.m_bFixedColumns ? static_cast<int>(dialog.m_nColumns) : 0;
    // A group with nothing ticked (a stored mode no button names) keeps the value.
    if (dialog.m_nOpenTextMode >= 0)
        handOff.m_nOpenTextMode = dialog.m_nOpenTextMode;
    if (dialog.m_nCharSet >= 0)
        m_grid.SetCharSet(dialog.m_nCharSet);
    OnUpdate(this, kHintSettings, nullptr);
}
