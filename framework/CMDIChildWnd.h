// The frame of one document window inside the main frame's MDI area. It holds
// one view; closing the last frame of a document closes the document.
#pragma once

#include "framework/CCmdTarget.h"

#include <QMdiSubWindow>
#include <QPointer>

class CDocument;
class CMDIFrameWnd;
class CView;

class CMDIChildWnd : public QMdiSubWindow, public CCmdTarget {
    Q_OBJECT
public:
    explicit CMDIChildWnd(QWidget* parent = nullptr);
    ~CMDIChildWnd() override;

    void SetView(CView* view);
    CView* GetActiveView() const;
    CDocument* GetActiveDocument() const;
    CMDIFrameWnd* GetMDIFrame() const;

    // Shows the frame (SW_SHOWMAXIMIZED maximizes it; -1 shows it as it was)
    // and makes it the active document window.
    virtual void ActivateFrame(int showCommand = -1);
    // Titles the frame with its document's title (":n" when it has several).
    virtual void OnUpdateFrameTitle();
    // Detaches the view from its document, takes the frame out of the MDI area
    // and deletes it once control is back in the event loop.
    void DestroyFrame();

    int m_nWindow = 0; // the number shown after the title, 0 for none

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPointer<CView> m_pView;
    bool m_bDestroying = false;
    bool m_bPlaced = false;
};
