#include "commands/CHexTextSync.h"

#include "commands/ByteTextConversions.h"
#include "commands/HexTextNormalise.h"
#include "display/CharsetTables.h"
#include "display/DisplayCodePage.h"

#include <QApplication>
#include <QLineEdit>

namespace {

CHexTextSync::BeepHook g_beepHook;

QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void Beep() {
    if (g_beepHook)
        g_beepHook();
    else
        QApplication::beep();
}

} // namespace

CByteString TextFieldToCodes(const QString& text, int* refused) {
    CByteString codes;
    codes.reserve(static_cast<size_t>(text.size()));
    for (const char32_t ch : text.toUcs4()) {
        const int code = UnicodeToDisplayCode(ch);
        if (code < 0) {
            if (refused)
                ++*refused;
            continue;
        }
        codes += static_cast<char>(code);
    }
    return codes;
}

QString CodesToTextField(const CByteString& codes) {
    QString text;
    text.reserve(static_cast<qsizetype>(codes.size()));
    for (const char c : codes)
        text += QChar(DisplayCodeToUnicode(static_cast<unsigned char>(c)));
    return text;
}

CHexTextSync::CHexTextSync(QLineEdit& textEdit, QLineEdit& hexEdit, int charSet)
    : QObject(&textEdit), m_textEdit(textEdit), m_hexEdit(hexEdit), m_nCharSet(charSet) {
    // textEdited comes for the user's own changes (typing, pasting, deleting),
    // never for setText, and sets the field's modified flag.
    connect(&m_textEdit, &QLineEdit::textEdited, this, [this] { Sync(); });
    connect(&m_hexEdit, &QLineEdit::textEdited, this, [this] { Sync(); });
}

CHexTextSync::~CHexTextSync() = default;

CHexTextSync::BeepHook CHexTextSync::SetBeepHookForTests(BeepHook hook) {
    std::swap(g_beepHook, hook);
    return hook;
}

void CHexTextSync::Sync() {
    if (m_bSyncing)
        return;
    m_bSyncing = true;
    if (m_textEdit.isModified())
        SyncFromText();
    else if (m_hexEdit.isModified())
        SyncFromHex();
    m_bSyncing = false;
}

void CHexTextSync::SetBytes(const CByteString& bytes) {
    m_hexEdit.setText(Latin1(BytesToHexText(bytes)));
    m_hexEdit.setModified(true);
    Sync();
}

CByteString CHexTextSync::GetBytes() const {
    return HexTextToBytes(m_hexEdit.text().toLatin1().toStdString());
}

void CHexTextSync::SyncFromText() {
    int refused = 0;
    const CByteString codes = TextFieldToCodes(m_textEdit.text(), &refused);
    if (refused > 0) {
        // A character with no byte cannot be searched for: it leaves the field
        // with a beep, as a refused hex digit does.
        const int caret = m_textEdit.cursorPosition();
        const QString before = m_textEdit.text().left(caret);
        m_textEdit.setText(CodesToTextField(codes));
        m_textEdit.setCursorPosition(int(TextFieldToCodes(before).size()));
        for (int i = 0; i < refused; ++i)
            Beep();
    }
    const CByteString bytes = TextToBytes(codes, m_nCharSet, AsciiToEbcdic);
    m_hexEdit.setModified(false);
    m_textEdit.setModified(false);
    m_hexEdit.setText(Latin1(BytesToHexText(bytes)));
}

void CHexTextSync::SyncFromHex() {
    // One character per position: whatever is not Latin-1 arrives as '?', which
    // the normalisation refuses like any other non-digit.
    const QByteArray typed = m_hexEdit.text().toLatin1();
    const auto caret = static_cast<size_t>(m_hexEdit.cursorPosition());
    const NormalisedHexText hex = NormaliseHexText(typed.toStdString(), caret);
    for (int i = 0; i < hex.beeps; ++i)
        Beep();
    const CByteString text =
        BytesToDisplayText(HexTextToBytes(hex.text), m_nCharSet, EbcdicToAscii);
    m_hexEdit.setModified(false);
    m_textEdit.setModified(false);
    m_hexEdit.setText(Latin1(hex.text));
    m_hexEdit.setCursorPosition(int(hex.caret));
    m_textEdit.setText(CodesToTextField(text));
}
