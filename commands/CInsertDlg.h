// Dialog 134, "Inserer": how many bytes to insert at the caret, and their value.
#pragma once

#include "framework/DialogRunner.h"

#include <cstdint>

class QLineEdit;

class CInsertDlg : public CDialog {
    Q_OBJECT
public:
    explicit CInsertDlg(QWidget* parent = nullptr);
    ~CInsertDlg() override;

    // Checks both fields; a faulty one keeps the dialog open with its message
    // and the focus on it.
    void accept() override;

    QLineEdit* CountEdit() const { return m_pCount; }
    QLineEdit* ValueEdit() const { return m_pValue; }

    std::uint32_t m_nCount = 1;
    std::uint32_t m_nValue = 0; // 0 ... 255 once accepted

protected:
    bool OnInitDialog() override;

private:
    QLineEdit* m_pCount;
    QLineEdit* m_pValue;
};
