// The editing commands of a hex view: clipboard, insert and delete, go to.
// Each acts on the document's piece table through the view's grid and ends as
// every edit does: modified flag, hint 1, caret and anchor placed.
#pragma once

#include "document/EditPlace.h"

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
// Copies the selection like copy (same limit and messages), then deletes it:
// one undo step. Refused on a read-only document.
void OnEditCut(CQuexoDoc& doc, CHexGridWnd& grid);
void OnUpdateEditCut(const CQuexoDoc& doc, const CHexGridWnd& grid, CCmdUI* ui);
// Undo and redo put the grid's caret and anchor back where they were.
void OnEditUndo(CQuexoDoc& doc, CHexGridWnd& grid);
void OnEditRedo(CQuexoDoc& doc, CHexGridWnd& grid);

// The grid's caret and anchor, and putting them back (limited to the length).
CEditPlace GridPlace(const CHexGridWnd& grid);
void RestorePlace(CHexGridWnd& grid, CEditPlace place);

} // namespace EditCommands
