// The About box, dialog 100: the program icon, "Quexo Pro Version" and the
// version of this build in field 1035.
#pragma once

#include "framework/DialogRunner.h"

class QLabel;

class CAboutDlg : public CDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // Object name of the version field, after its control identifier.
    static constexpr const char* kVersionFieldName = "1035";

protected:
    bool OnInitDialog() override;

private:
    QLabel* m_pVersion;
};
