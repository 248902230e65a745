// Cancelling a long operation as a user does: a click on "Annuler", the
// dialog's close button, or Escape, each sent through the window system to the
// progress dialog's window.
#pragma once

#include "framework/CProgress.h"

#include <QProgressDialog>
#include <QPushButton>
#include <QTest>
#include <QWindow>

#include <ostream>

enum class CancelBy { Button, CloseButton, Escape };

inline std::ostream& operator<<(std::ostream& out, CancelBy how) {
    switch (how) {
    case CancelBy::Button:
        return out << "button";
    case CancelBy::CloseButton:
        return out << "close button";
    case CancelBy::Escape:
        return out << "Escape";
    }
    return out;
}

inline constexpr CancelBy kEveryCancel[] = {CancelBy::Button, CancelBy::CloseButton,
                                            CancelBy::Escape};

inline QPushButton* CancelButton(QProgressDialog& dialog) {
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Annuler"))
            return button;
    return nullptr;
}

inline void CancelThroughWindow(QProgressDialog& dialog, CancelBy how) {
    QWindow* window = dialog.windowHandle();
    if (!window)
        return;
    switch (how) {
    case CancelBy::Button:
        if (QPushButton* button = CancelButton(dialog))
            QTest::mouseClick(window, Qt::LeftButton, {},
                              button->mapTo(&dialog, button->rect().center()));
        break;
    case CancelBy::CloseButton:
        window->close(); // what the title bar's button asks for
        break;
    case CancelBy::Escape:
        QTest::keyClick(window, Qt::Key_Escape);
        break;
    }
}

// Makes every progress show its dialog at once and cancels it the given way
// as soon as it shows; restores the defaults when done.
class CancelOnShow {
public:
    explicit CancelOnShow(CancelBy how) {
        CProgress::SetDelayForTests(0);
        CProgress::SetObserverForTests([this, how](CProgress& progress) {
            QProgressDialog* dialog = progress.Dialog();
            if (dialog && dialog->isVisible() && !m_bSent) {
                m_bSent = true;
                CancelThroughWindow(*dialog, how);
            }
        });
    }
    ~CancelOnShow() {
        CProgress::SetObserverForTests(nullptr);
        CProgress::SetDelayForTests(-1);
    }
    CancelOnShow(const CancelOnShow&) = delete;
    CancelOnShow& operator=(const CancelOnShow&) = delete;
    bool Sent() const { return m_bSent; }

private:
    bool m_bSent = false;
};
