// Keeps a text field and a hex field of a dialog showing the same bytes while
// the user types in either. The hex field is normalised as it is typed (upper
// case digits, a blank after every pair, anything else removed with a beep);
// the text field turns the characters the user changes into bytes with the
// table the grid's character pane uses, leaving every other byte as it was.
// The bytes are always read from the hex field.
#pragma once

#include "storage/ByteString.h"

#include <QObject>
#include <QString>

#include <functional>

class QLineEdit;

class CHexTextSync : public QObject {
    Q_OBJECT
public:
    // The fields belong to the dialog; charSet 1 is EBCDIC, anything else ASCII.
    CHexTextSync(QLineEdit& textEdit, QLineEdit& hexEdit, int charSet);
    ~CHexTextSync() override;

    // Brings the field the user changed (its modified flag is set) over to the
    // other; does nothing when neither is modified.
    void Sync();

    // Shows `bytes` in both fields.
    void SetBytes(const CByteString& bytes);
    // The bytes the hex field holds.
    CByteString GetBytes() const;

    // The audible signal for a refused character (tests count it).
    using BeepHook = std::function<void()>;
    static BeepHook SetBeepHookForTests(BeepHook hook);

private:
    void SyncFromText();
    void SyncFromHex();

    QLineEdit& m_textEdit;
    QLineEdit& m_hexEdit;
    int m_nCharSet;
    bool m_bSyncing = false; // setting one field must never feed the other back
    // The text field as the last sync left it: an edit of the field is found
    // by comparing with it.
    QString m_strShownText;
};

// The text field's characters for codes (after any EBCDIC translation), one
// table for the whole program: 0x80-0x9F are the Windows-1252 characters,
// 0xA0-0xFF Latin-1.
QString CodesToTextField(const CByteString& codes);
