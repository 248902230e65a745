// A view shows one document inside a child frame. The document tells its views
// what changed through OnUpdate(sender, hint, hint object).
#pragma once

#include "framework/CCmdTarget.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

#include <cstdint>

class CDocument;
class CMDIChildWnd;
class QPainter;
class QPrinter;

// What the printing steps share: the page range, the page being printed and
// the caller's own data. Pages are 64-bit: nothing limits a job to 16-bit page
// numbers.
struct CPrintInfo {
    std::int64_t m_nFromPage = 1;
    std::int64_t m_nToPage = 0xFFFF;
    std::int64_t m_nCurPage = 1;
    bool m_bPreview = false;
    bool m_bDirect = false;
    bool m_bContinuePrinting = true;
    // Whether the print dialog offers (and proposes) the selection, and whether
    // the selection is what gets printed.
    bool m_bSelectionOffered = false;
    bool m_bPrintSelection = false;
    void* m_lpUserData = nullptr;
    QPrinter* m_pPrinter = nullptr;
};

class CView : public QWidget, public CCmdTarget {
    Q_OBJECT
public:
    explicit CView(QWidget* parent = nullptr);
    ~CView() override;

    CDocument* GetDocument() const;
    CMDIChildWnd* GetParentFrame() const;

    // The first update, once the document is open: OnUpdate(nullptr, 0, nullptr).
    virtual void OnInitialUpdate();
    // The document changed; `hint` says what. The default repaints.
    virtual void OnUpdate(CView* sender, long hint, QObject* hintObject);
    // The frame holding the view became active or inactive.
    virtual void OnActivateView(bool activate);

    // Drawing and the printing steps, for views that print.
    virtual void OnDraw(QPainter* painter);
    virtual bool OnPreparePrinting(CPrintInfo* info);
    virtual void OnBeginPrinting(QPainter* painter, CPrintInfo* info);
    virtual void OnPrint(QPainter* painter, CPrintInfo* info);
    virtual void OnEndPrinting(QPainter* painter, CPrintInfo* info);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    friend class CDocument;
    QPointer<CDocument> m_pDocument;
};
