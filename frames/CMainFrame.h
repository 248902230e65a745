// The main window: menus for the states with and without documents, toolbar,
// status bar with the offset and selection panes, the cursor data window, and
// the window state kept between runs.
#pragma once

#include "frames/CommandBars.h"
#include "frames/WindowPlacement.h"
#include "framework/CMDIFrameWnd.h"

#include <QList>

class CCursorDataDlg;
class CStatusBar;
class QAction;
class QToolBar;

class CMainFrame : public CMDIFrameWnd {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // Builds menus, bars and the cursor data window; false when that fails.
    // The frame stays hidden until RestoreWindowState.
    bool LoadFrame();
    // Applies the stored placement, cursor data window and bar visibility.
    void RestoreWindowState();
    // Stores them; called at every close request, even a cancelled one.
    void SaveWindowState();

    CCursorDataDlg* GetCursorDataWnd() const { return m_pCursorData; }
    QToolBar* GetToolBar() const { return m_pToolBar; }
    CStatusBar* GetStatusBar() const { return m_pStatusBar; }
    // True while the menu of the document state is in the menu bar.
    bool IsDocumentMenuShown() const { return m_nMenuSet == 1; }

    // The status-bar panes: the message pane, then the offset and selection.
    static const std::vector<unsigned>& Indicators();

    // "Quexo Pro fr - name", or "Quexo Pro fr - [name]" while the document
    // window is maximized.
    void OnUpdateFrameTitle() override;

protected:
    void OnClose() override;
    void OnIdleUpdateCmdUI() override;

private:
    void OnViewCursorData();
    // Puts the menu of the current state (documents open or not) in the bar.
    void UpdateMenuSet();
    void UpdateStatusPanes();
    void FillWindowList(QMenu* menu);
    WindowPlacement MainPlacement() const;
    WindowPlacement CursorWindowPlacement() const;

    QToolBar* m_pToolBar = nullptr;
    CStatusBar* m_pStatusBar = nullptr;
    CCursorDataDlg* m_pCursorData = nullptr;
    MenuSet m_noDocumentMenu;
    MenuSet m_documentMenu;
    int m_nMenuSet = -1; // 0 without documents, 1 with
    QList<QAction*> m_windowListActions;
};
