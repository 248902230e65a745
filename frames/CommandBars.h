// Builds the frame's menus, toolbar and accelerators from the tables, on the
// application's one action per command identifier.
#pragma once

#include "frames/MenuTables.h"

#include <QIcon>
#include <QList>

class CWinApp;
class QMenu;
class QToolBar;
class QWidget;

struct MenuSet {
    QList<QMenu*> popups;
    QMenu* windowMenu = nullptr; // the popup that lists the document windows
};

// The popups of `menu`, owned by `parent`, each entry the command's action
// with the entry's text. The recent-file entry expands to its four slots.
MenuSet BuildMenuSet(CWinApp& app, const std::vector<MenuPopup>& menu, QWidget* parent);

// Gives every command of the accelerator table its keys and adds the actions
// to `window`, so the keys work whichever menu is shown.
void ApplyAccelerators(CWinApp& app, QWidget* window);

// The buttons of the toolbar, in their order, on the commands' actions.
void FillToolBar(CWinApp& app, QToolBar* toolBar);

// The desktop theme's icon for the command, else our own; null for commands
// without one.
QIcon CommandIcon(unsigned id);
// The program's window icon.
QIcon ApplicationIcon();
