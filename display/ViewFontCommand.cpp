// The view's Font command: the font dialog lists fixed-pitch fonts only and
// starts from the display font; the choice becomes the display font of this
// view at once, of new views and of printing, and is saved at exit.
#include "display/CQuexoView.h"
#include "display/DisplayGlobals.h"
#include "display/FontConversion.h"
#include "framework/DialogRunner.h"

#include <QFontDialog>

void CQuexoView::OnViewFont() {
    if (g_displayFont.lfHeight == 0)
        g_displayFont = LogFontFromFont(m_grid.DisplayFont());

    QFontDialog dialog(FontFromLogFont(g_displayFont), window());
    dialog.setOption(QFontDialog::MonospacedFonts, true);
    if (DialogRunner::RunModal(dialog) != QDialog::Accepted)
        return;

    // The grid draws plain text: underline and strike-out offered by the
    // dialog are not kept.
    QFont chosen = dialog.selectedFont();
    chosen.setUnderline(false);
    chosen.setStrikeOut(false);
    g_displayFont = LogFontFromFont(chosen);
    OnUpdate(this, kHintSettings, nullptr);
}
