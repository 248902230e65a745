// The editing commands of a hex view: clipboard, insert and delete, go to,
// undo and redo. Each changes the content through the document's edit path
// (modified flag, every view told) and places the view's caret and anchor.
#pragma once

#include "storage/ByteString.h"

#include <cstdint>

class CCmdUI;
class CQuexoDoc;
class IHexView;

namespace EditCommands {

void OnEditCopy(IHexView& view);
void OnUpdateEditCopy(IHexView& view, CCmdUI* ui);
void OnEditPaste(CQuexoDoc& doc, IHexView& view);
void OnUpdateEditPaste(CCmdUI* ui);
void OnEditInsert(CQuexoDoc& doc, IHexView& view);
void OnEditDelete(CQuexoDoc& doc, IHexView& view);
void OnUpdateEditDelete(IHexView& view, CCmdUI* ui);
void OnEditGoto(IHexView& view);
// Copies the selection like copy (same limit and messages), then deletes it:
// one undo step. Refused on a read-only document.
void OnEditCut(CQuexoDoc& doc, IHexView& view);
void OnUpdateEditCut(const CQuexoDoc& doc, const IHexView& view, CCmdUI* ui);
// Undo and redo put the view's caret and anchor back where they were.
void OnEditUndo(CQuexoDoc& doc, IHexView& view);
void OnEditRedo(CQuexoDoc& doc, IHexView& view);

// The first min(selection length, maxLength) selected bytes, read from the
// view's document; empty without one.
CByteString SelectedBytes(const IHexView& view, std::int64_t maxLength);

} // namespace EditCommands
