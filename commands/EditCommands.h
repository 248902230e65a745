// The editing commands of a hex view: clipboard, insert and delete, go to.
// Each acts on the document's piece table through the view's grid and ends as
// every edit does: modified flag, hint 1, caret and anchor placed.
#pragma once

class CCmdUI;
class CHexGridWnd;
class CQuexoDoc;

namespace EditCommands {

void OnEditCopy(CHexGridWnd& grid);
void OnUpdateEditCopy(CHexGridWnd& grid, CCmdUI* ui);
void OnEditPaste(CQuexoDoc& doc, CHexGridWnd& grid);
void OnUpdateEditPaste(CCmdUI* ui);
void OnEditInsert(CQuexoDoc& doc, CHexGridWnd& grid);
void OnEditDelete(CQuexoDoc& doc, CHexGridWnd& grid);
void OnUpdateEditDelete(CHexGridWnd& grid, CCmdUI* ui);
void OnEditGoto(CHexGridWnd& grid);

} // namespace EditCommands
