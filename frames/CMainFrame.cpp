#include "frames/CMainFrame.h"

CMainFrame::CMainFrame(QWidget* parent) : CMDIFrameWnd(parent) {}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::LoadFrame() { return true; }

void CMainFrame::RestoreWindowState() { show(); }

void CMainFrame::SaveWindowState() {}

void CMainFrame::OnClose() {
    SaveWindowState();
    CMDIFrameWnd::OnClose();
}

void CMainFrame::OnIdleUpdateCmdUI() { CMDIFrameWnd::OnIdleUpdateCmdUI(); }
