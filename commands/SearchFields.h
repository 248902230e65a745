// What the Find and "Rechercher tout" dialogs share: the bytes to look for
// as text and as hex, kept showing the same bytes, "&Assortir case", a group
// of two choices beside it, and OK / "Annuler" under them. Tab visits them in
// that order.
#pragma once

#include <QString>

class CHexTextSync;
class QDialog;
class QDialogButtonBox;
class QCheckBox;
class QLineEdit;
class QRadioButton;

struct CSearchFields {
    QLineEdit* m_pText;
    QLineEdit* m_pHex;
    QCheckBox* m_pMatchCase;
    QRadioButton* m_pFirst; // the group's two choices, in their order
    QRadioButton* m_pSecond;
    CHexTextSync* m_pSync;
    QDialogButtonBox* m_pButtons;
};

// Lays the fields out as the whole of `dialog`. charSet is the view's: in
// EBCDIC the text stands for its EBCDIC codes.
CSearchFields BuildSearchFields(QDialog& dialog, int charSet, const QString& groupTitle,
                                const QString& firstChoice, const QString& secondChoice);
