// The OK (default) and "Annuler" buttons of the command dialogs.
#pragma once

#include <QDialogButtonBox>

#include <initializer_list>

class QDialog;

// Buttons wired to the dialog's accept() and reject().
QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog);

class QRadioButton;

// Tab enters the group of `buttons` on its ticked button (the first when none
// is ticked), as dialog radio groups do; the arrow keys move within it.
void TabToTickedRadio(std::initializer_list<QRadioButton*> buttons);
