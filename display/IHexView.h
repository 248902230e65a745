// The hex view as the editing commands see it: its caret and selection, a
// repaint, how it shows bytes, the window to open dialogs over, its last
// search and its command map. The bytes themselves belong to the document:
// commands read them through GetDocument()->GetPieceFile() and change them
// through the document's edit path, never through the view.
//
// The commands live in a layer above the view, so the view cannot call them:
// the layer that creates views fills each one's command map through
// AddCommand / AddCommandUpdate, and hears of its updates through
// AddUpdateListener.
#pragma once

#include "document/ByteRange.h"
#include "document/EditPlace.h"
#include "storage/ByteString.h"

#include <cstdint>
#include <functional>

class CCmdUI;
class CQuexoDoc;
class QWidget;

// A view's last search, which find next repeats. Each view keeps its own for
// as long as it lives; the Find dialog changes it only when it ends with OK.
struct CFindState {
    CByteString& m_findBytes;
    bool& m_bMatchCase;
    bool& m_bSearchDown;
};

class IHexView {
public:
    using CommandHandler = std::function<void()>;
    using CommandUpdateHandler = std::function<void(CCmdUI*)>;
    // `parts` are the update hint's bits (kHintContentChanged,
    // kHintSettingsChanged; all of them for kHintAll), after the view applied them.
    using UpdateListener = std::function<void(long parts)>;

    // The document shown; null until the view is attached to one.
    virtual CQuexoDoc* GetDocument() const = 0;

    virtual std::int64_t GetCaret() const = 0;
    virtual CByteRange GetSelection() const = 0;
    // Caret and anchor together, as undo steps keep them.
    virtual CEditPlace GetPlace() const = 0;
    // Puts the caret at place.caret, scrolled into view, and the anchor at
    // place.anchor; both are limited to the content's length.
    virtual void SetPlace(CEditPlace place) = 0;
    // Draws every shown byte again.
    virtual void Repaint() = 0;

    // How bytes and offsets are shown: the character set (CharSet.h) and
    // whether addresses are hexadecimal.
    virtual int GetCharSet() const = 0;
    virtual bool IsHexAddress() const = 0;
    // The window that dialogs and progress open over.
    virtual QWidget* DialogParent() const = 0;

    virtual CFindState FindState() = 0;
    // Every occurrence of `pattern` among the shown bytes is drawn in the
    // match colour; an empty pattern turns it off.
    virtual void SetMatchHighlight(const CByteString& pattern, bool matchCase) = 0;
    // A panel under the bytes; the view takes it as a child, hidden until it
    // shows itself, makes room for it while it is shown, and gives the
    // keyboard back to the bytes when it hides itself.
    virtual void SetBottomPanel(QWidget* panel) = 0;

    virtual void AddCommand(unsigned id, CommandHandler handler) = 0;
    virtual void AddCommandUpdate(unsigned id, CommandUpdateHandler handler) = 0;
    virtual void AddUpdateListener(UpdateListener listener) = 0;

protected:
    IHexView() = default;
    ~IHexView() = default;
    IHexView(const IHexView&) = delete;
    IHexView& operator=(const IHexView&) = delete;
};
