#include "commands/EditCommands.h"

#include "framework/CCmdUI.h"

// Placeholders until the commands are written: everything stays disabled.
namespace EditCommands {

void OnEditCopy(CHexGridWnd&) {}
void OnUpdateEditCopy(CHexGridWnd&, CCmdUI* ui) { ui->Enable(false); }
void OnEditPaste(CQuexoDoc&, CHexGridWnd&) {}
void OnUpdateEditPaste(CCmdUI* ui) { ui->Enable(false); }
void OnEditInsert(CQuexoDoc&, CHexGridWnd&) {}
void OnEditDelete(CQuexoDoc&, CHexGridWnd&) {}
void OnUpdateEditDelete(CHexGridWnd&, CCmdUI* ui) { ui->Enable(false); }
void OnEditGoto(CHexGridWnd&) {}

} // namespace EditCommands
