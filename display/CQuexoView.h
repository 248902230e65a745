// The view of a document: a thin host around the hex grid. It hands the grid
// the document's file and the display settings, turns the grid's edits into a
// modified document, offers the editing commands its caret and selection
// (IHexView) and answers the status panes and the cursor data window.
#pragma once

#include "display/CHexGridWnd.h"
#include "display/IHexView.h"
#include "document/EditPlace.h"
#include "document/UpdateHints.h"
#include "framework/CView.h"
#include "storage/ByteString.h"

#include <vector>

class CCmdUI;
class CQuexoDoc;

class CQuexoView : public CView, public IHexView {
    Q_OBJECT
public:
    // Short names of the update hints (document/UpdateHints.h).
    static constexpr long kHintFile = kHintContentChanged;
    static constexpr long kHintSettings = kHintSettingsChanged;

    explicit CQuexoView(QWidget* parent = nullptr);
    ~CQuexoView() override;

    CQuexoDoc* GetDocument() const override;
    CHexGridWnd& GetGrid() { return m_grid; }
    const CHexGridWnd& GetGrid() const { return m_grid; }

    void OnUpdate(CView* sender, long hint, QObject* hintObject) override;
    void OnDraw(QPainter* painter) override;

    // Printing the file or the selection as a hex dump (CQuexoViewPrint.cpp).
    bool OnPreparePrinting(CPrintInfo* info) override;
    void OnBeginPrinting(QPainter* painter, CPrintInfo* info) override;
    void OnPrint(QPainter* painter, CPrintInfo* info) override;
    void OnEndPrinting(QPainter* painter, CPrintInfo* info) override;
    // The print margins: page setup with margins only.
    void OnFilePrintMargins();

    // The process-wide display settings and the open-text-file mode: read once
    // at start-up, written once at exit.
    static void LoadDisplaySettings();
    static void SaveDisplaySettings();

    // The last search, kept per view.
    bool m_bSearchDown = true;
    bool m_bMatchCase = false;
    CByteString m_findBytes;

    // What the commands reach (CQuexoViewCommands.cpp).
    std::int64_t GetCaret() const override;
    CByteRange GetSelection() const override;
    CEditPlace GetPlace() const override;
    void SetPlace(CEditPlace place) override;
    void Repaint() override;
    int GetCharSet() const override;
    bool IsHexAddress() const override;
    QWidget* DialogParent() const override;
    CFindState FindState() override;
    void SetMatchHighlight(const CByteString& pattern, bool matchCase) override;
    void SetBottomPanel(QWidget* panel) override;
    void AddCommand(unsigned id, CommandHandler handler) override;
    void AddCommandUpdate(unsigned id, CommandUpdateHandler handler) override;
    void AddUpdateListener(UpdateListener listener) override;
    // The panel under the grid, or null.
    QWidget* GetBottomPanel() const { return m_pBottomPanel; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void RegisterPrintCommands();
    void OnUpdateOffsetPane(CCmdUI* ui);
    void OnUpdateSelectionPane(CCmdUI* ui);
    void OnUpdateCursorData(CCmdUI* ui);
    void OnViewOptions(); // ViewOptionsCommand.cpp
    void OnViewFont();    // ViewFontCommand.cpp
    void NotifyUpdateListeners(long parts);
    // The grid over the whole view, or above the bottom panel while it is shown.
    void LayOutChildren();

    CHexGridWnd m_grid;
    QPointer<QWidget> m_pBottomPanel;
    std::vector<UpdateListener> m_updateListeners;
};
