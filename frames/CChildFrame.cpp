#include "frames/CChildFrame.h"

#include "frames/CommandBars.h"
#include "framework/CMDIFrameWnd.h"
#include "framework/StdCommandIds.h"

#include <QEvent>

CChildFrame::CChildFrame(QWidget* parent) : CMDIChildWnd(parent) {
    // Shown in the menu bar while maximized, in place of the toolkit's logo.
    setWindowIcon(ApplicationIcon());
}

void CChildFrame::ActivateFrame(int /*showCommand*/) {
    CMDIChildWnd::ActivateFrame(SW_SHOWMAXIMIZED);
}

void CChildFrame::changeEvent(QEvent* event) {
    CMDIChildWnd::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        if (CMDIFrameWnd* main = GetMDIFrame())
            main->OnUpdateFrameTitle();
}
