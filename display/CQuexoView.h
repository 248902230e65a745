// The view of a document: a thin host around the hex grid. It hands the grid
// the document's file and the display settings, turns the grid's edits into a
// modified document, routes the editing commands and answers the status panes
// and the cursor data window.
#pragma once

#include "display/CHexGridWnd.h"
#include "document/EditPlace.h"
#include "document/UpdateHints.h"
#include "framework/CView.h"
#include "storage/ByteString.h"

class CCmdUI;
class CFindAllPanel;
class CPieceFile64;
class CQuexoDoc;
struct CFindState;

class CQuexoView : public CView {
    Q_OBJECT
public:
    // Short names of the update hints (document/UpdateHints.h).
    static constexpr long kHintFile = kHintContentChanged;
    static constexpr long kHintSettings = kHintSettingsChanged;

    explicit CQuexoView(QWidget* parent = nullptr);
    ~CQuexoView() override;

    CQuexoDoc* GetDocument() const;
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
    int m_bSearchDown = 1;
    int m_bMatchCase = 0;
    CByteString m_findBytes;
    CFindState FindState();

    // The "Rechercher tout" results under the grid; null until the first search.
    CFindAllPanel* GetFindAllPanel() const { return m_pFindAll; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void RegisterPrintCommands();
    void OnUpdateOffsetPane(CCmdUI* ui);
    void OnUpdateSelectionPane(CCmdUI* ui);
    void OnUpdateCursorData(CCmdUI* ui);
    void OnViewOptions(); // ViewOptionsCommand.cpp
    void OnViewFont();    // ViewFontCommand.cpp
    // The results panel (ViewFindAll.cpp).
    void RegisterFindAllCommand();
    CFindAllPanel& EnsureFindAllPanel();
    void OnFindAllPanelChanged();
    void OnFindAllMatchChosen(std::int64_t offset, std::int64_t length);
    void CheckFindAllCurrent();
    void OnFindAllSettingsChanged();
    void LayOutChildren();

    CHexGridWnd m_grid;
    CFindAllPanel* m_pFindAll = nullptr;
    // The content the panel's results were found in.
    std::uint64_t m_nFindAllRevision = 0;
    const CPieceFile64* m_pFindAllFile = nullptr;
};
