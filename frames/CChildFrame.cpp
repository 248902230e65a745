#include "frames/CChildFrame.h"

#include "framework/StdCommandIds.h"

void CChildFrame::ActivateFrame(int /*showCommand*/) { CMDIChildWnd::ActivateFrame(SW_SHOWMAXIMIZED); }
