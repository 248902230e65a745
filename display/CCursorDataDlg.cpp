#include "display/CCursorDataDlg.h"

CCursorDataDlg::CCursorDataDlg(QWidget* owner) : QDialog(owner) {}

void CCursorDataDlg::OnIdleUpdateCmdUI() {}
