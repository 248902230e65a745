// Gives a hex view its editing commands. The commands sit above the view, so
// the view cannot name them: whoever creates views (the document template of
// the program, and of the tests) calls AttachTo on each new one.
#pragma once

class IHexView;

namespace ViewCommands {

// Copy, cut, paste, delete, insert, go to, undo, redo, find, find next,
// replace, find all and checksums, with their update handlers, each acting
// on `view` and its document.
void AttachTo(IHexView& view);

} // namespace ViewCommands
