// "Rechercher tout": the dialog, the search for every occurrence with progress
// and Cancel, and the results panel it fills.
#pragma once

class CFindAllPanel;
class CQuexoDoc;
class IHexView;

namespace FindAllCommands {

// Asks what to look for and where, searches and shows the results in `panel`.
void OnEditFindAll(CQuexoDoc& doc, IHexView& view, CFindAllPanel& panel);
// The panel's search again: the same bytes and case, over the whole file, or
// over the current selection when the last search was over a selection (the
// whole file when nothing is selected any more).
void SearchAgain(CQuexoDoc& doc, IHexView& view, CFindAllPanel& panel);

// Gives `view` the command, ID_EDIT_FINDALL, and the panel it fills: made
// under the view at the first search, its occurrences highlighted in the
// view, a chosen row selected there, and the list marked out of date once
// the content changes.
void AttachTo(IHexView& view);

} // namespace FindAllCommands
