// "Rechercher tout": the dialog, the search for every occurrence with progress
// and Cancel, and the results panel it fills.
#pragma once

class CFindAllPanel;
class CHexGridWnd;
class CQuexoDoc;

namespace FindAllCommands {

// Asks what to look for and where, searches and shows the results in `panel`.
void OnEditFindAll(CQuexoDoc& doc, CHexGridWnd& grid, CFindAllPanel& panel);
// The panel's search again: the same bytes and case, over the whole file, or
// over the current selection when the last search was over a selection (the
// whole file when nothing is selected any more).
void SearchAgain(CQuexoDoc& doc, CHexGridWnd& grid, CFindAllPanel& panel);

} // namespace FindAllCommands
