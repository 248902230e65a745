// Find, find next and replace of a hex view: the Find dialog, the search
// through the document's piece table with progress and Cancel, and the
// selection of what was found.
#pragma once

#include "display/IHexView.h"
#include "storage/ByteString.h"

#include <QString>

#include <cstdint>

class CCmdUI;
class CPieceFile64;
class CProgress;
class CQuexoDoc;
class QWidget;

namespace FindCommands {

// At most this many selected bytes are offered to the Find dialog.
inline constexpr std::int64_t kSeedLength = 128;

void OnEditFind(CQuexoDoc& doc, IHexView& view, const CFindState& state);
void OnEditFindNext(CQuexoDoc& doc, IHexView& view, const CFindState& state);
// The Replace dialog; the view's remembered search seeds it and stays as it was.
void OnEditReplace(CQuexoDoc& doc, IHexView& view, const CByteString& findBytes);
// Enabled exactly when there are bytes to look for.
void OnUpdateEditFindNext(const CFindState& state, CCmdUI* ui);

// Find next, for the command and the Replace dialog's "&Suivant ...": looks
// for `bytes` from the caret with the progress over `progressParent` and
// selects the occurrence, the caret on the side the search goes on from.
// Not found, or cancelled: message 135, caret and selection stay. A file
// error is reported.
void FindNext(CQuexoDoc& doc, IHexView& view, const CByteString& bytes, bool matchCase, bool down,
              QWidget* progressParent);

// While it lives, the file's cancel check steps `progress` with the offset a
// search has reached between `start` and `end` (either order: upward searches
// count down) and puts the file's position back after the event loop ran, so a
// repaint reading the same file never moves the search.
class CSearchCancelCheck {
public:
    CSearchCancelCheck(CPieceFile64& file, CProgress& progress, std::int64_t start,
                       std::int64_t end);
    ~CSearchCancelCheck();
    CSearchCancelCheck(const CSearchCancelCheck&) = delete;
    CSearchCancelCheck& operator=(const CSearchCancelCheck&) = delete;

private:
    CPieceFile64& m_file;
};

// The label of the search progress, with the offset reached.
QString SearchProgressLabel(std::int64_t offset);

// CPieceFile64::Find with the progress dialog after half a second; Cancel or
// Escape ends it as not found (-1). Painting while it runs may read the file
// but never moves the search. A file error propagates.
std::int64_t FindWithProgress(CPieceFile64& file, const CByteString& pattern, bool matchCase,
                              bool down, std::int64_t start, std::int64_t limit, QWidget* parent);

} // namespace FindCommands
