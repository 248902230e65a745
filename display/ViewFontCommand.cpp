// The view's Font command: the font dialog lists fixed-pitch fonts only and
// starts from the display font; the choice becomes the display font of this
// view at once, of new views and of printing, and is saved at exit.
#include "display/CQuexoView.h"
#include "display/DisplayGlobals.h"
#include "display/FontConversion.h"
#include "framework/DialogRunner.h"

#include <QCheckBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>

void CQuexoView::OnViewFont() {
    if (g_displayFont.lfHeight == 0)
        g_displayFont = LogFontFromFont(m_grid.DisplayFont());

    // The dialog lists real faces only: a stored name such as "Courier" that
    // resolves to another monospace face starts on the face actually drawn,
    // not on whatever the list falls back to.
    // Its style list is matched by name, and a plain weight has none the list
    // knows ("Normal" where the face says "Book"): without the face's own
    // style name it would start on another style, and OK would apply it.
    QFont current = FontFromLogFont(g_displayFont);
    const QFontInfo drawn(current);
    current.setFamily(drawn.family());
    current.setStyleName(drawn.styleName());
    // The option first: the face list is filtered when the font is set.
    QFontDialog dialog(window());
    dialog.setOption(QFontDialog::MonospacedFonts, true);
    // A desktop's own font dialog may list every face, whatever is asked.
    dialog.setOption(QFontDialog::DontUseNativeDialog, true);
    dialog.setCurrentFont(current);
    // The grid draws plain text: no underline or strike-out is offered.
    for (QGroupBox* box : dialog.findChildren<QGroupBox*>())
        if (!box->findChildren<QCheckBox*>().isEmpty())
            box->hide();
    if (DialogRunner::RunModal(dialog) != QDialog::Accepted)
        return;

    QFont chosen = dialog.selectedFont();
    chosen.setUnderline(false);
    chosen.setStrikeOut(false);
    g_displayFont = LogFontFromFont(chosen);
    OnUpdate(this, kHintSettings, nullptr);
}
