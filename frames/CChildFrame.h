// The frame of a document window: always shown maximized.
#pragma once

#include "framework/CMDIChildWnd.h"

class CChildFrame : public CMDIChildWnd {
    Q_OBJECT
public:
    explicit CChildFrame(QWidget* parent = nullptr);

    // Whatever it is asked, the frame shows maximized.
    void ActivateFrame(int showCommand = -1) override;

protected:
    // Maximizing or restoring changes how the main window names the document.
    void changeEvent(QEvent* event) override;
};
