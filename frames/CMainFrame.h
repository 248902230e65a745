// The main window: toolbar, status bar with the offset and selection panes, the
// cursor data window, and the window state kept between runs.
#pragma once

#include "framework/CMDIFrameWnd.h"

class CCursorDataDlg;

class CMainFrame : public CMDIFrameWnd {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds menus, bars and the cursor data window; false when that fails.
    bool LoadFrame();
    // Applies the stored placement, cursor data window and bar visibility.
    void RestoreWindowState();
    // Stores them; called at every close request, even a cancelled one.
    void SaveWindowState();

    CCursorDataDlg* GetCursorDataWnd() const { return m_pCursorData; }

protected:
    void OnClose() override;
    void OnIdleUpdateCmdUI() override;

private:
    CCursorDataDlg* m_pCursorData = nullptr;
};
