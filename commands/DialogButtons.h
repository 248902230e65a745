// The OK (default) and "Annuler" buttons of the command dialogs.
#pragma once

#include <QDialogButtonBox>

class QDialog;

// Buttons wired to the dialog's accept() and reject().
QDialogButtonBox* MakeOkCancelButtons(QDialog* dialog);
