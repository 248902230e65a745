// The main window of a multiple-document program: an MDI area holding the
// document frames, the window commands, the control bars' show/hide commands,
// and the close that asks to save every modified document.
#pragma once

#include "framework/CCmdTarget.h"

#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <map>

class CDocument;
class CMDIChildWnd;
class QMdiArea;
class QMdiSubWindow;

class CMDIFrameWnd : public QMainWindow, public CCmdTarget {
    Q_OBJECT
public:
    explicit CMDIFrameWnd(QWidget* parent = nullptr);
    ~CMDIFrameWnd() override;

    QMdiArea* MDIClient() const { return m_pMdiArea; }
    // The active document window (the current one when the application is not
    // in front), or null.
    CMDIChildWnd* MDIGetActive() const;
    QList<CMDIChildWnd*> GetChildFrames() const;
    CDocument* GetActiveDocument() const;

    // The frame's own title; with m_bAddToTitle the active document's title
    // follows it: "Title - Document".
    void SetTitle(const QString& title);
    const QString& GetTitle() const { return m_strTitle; }
    virtual void OnUpdateFrameTitle();
    bool m_bAddToTitle = true;

    // A bar whose visibility a command toggles (ID_VIEW_TOOLBAR,
    // ID_VIEW_STATUS_BAR), with its check mark kept up to date.
    void SetControlBar(unsigned id, QWidget* bar);
    QWidget* GetControlBar(unsigned id) const;

    // A passing note in the status bar's message pane, such as what a save
    // had to give up; it goes after a while or with the next prompt.
    void SetMessageText(const QString& text);

    // Files dropped onto the window open as documents.
    void DragAcceptFiles(bool accept = true) { setAcceptDrops(accept); }

    // Called by the application's idle pass after the command states.
    virtual void OnIdleUpdateCmdUI();
    // The close request: asks to save modified documents, closes them and lets
    // the window close. Call AcceptClose() to let it go.
    virtual void OnClose();

signals:
    void activeChildChanged(CMDIChildWnd* frame);

protected:
    void AcceptClose() { m_bCloseAccepted = true; }
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void OnWindowNew();
    void OnSubWindowActivated(QMdiSubWindow* window);

    QMdiArea* m_pMdiArea;
    QString m_strTitle;
    std::map<unsigned, QPointer<QWidget>> m_bars;
    QPointer<CMDIChildWnd> m_pLastActive;
    bool m_bCloseAccepted = false;
};
