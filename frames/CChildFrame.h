// The frame of a document window: always shown maximized.
#pragma once

#include "framework/CMDIChildWnd.h"

class CChildFrame : public CMDIChildWnd {
    Q_OBJECT
public:
    explicit CChildFrame(QWidget* parent = nullptr) : CMDIChildWnd(parent) {}

    void ActivateFrame(int showCommand = -1) override;
};
