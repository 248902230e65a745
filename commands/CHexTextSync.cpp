#include "commands/CHexTextSync.h"

#include "commands/ByteTextConversions.h"
#include "commands/HexTextNormalise.h"
#include "display/CharsetTables.h"
#include "display/DisplayCodePage.h"

#include <QApplication>
#include <QLineEdit>

#include <algorithm>

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

// Where an edit of the text field changed it: `prefix` characters before and
// `suffix` after the change are as they were. The change is taken to end at
// the caret, as typing, pasting and deleting leave it, so a dot typed beside a
// dot lands where it was typed; otherwise the longest common ends are taken.
struct TextEdit {
    qsizetype prefix = 0;
    qsizetype suffix = 0;
};

TextEdit FindTextEdit(const QList<uint>& before, const QList<uint>& after, qsizetype caret) {
    TextEdit edit;
    edit.suffix = after.size() - caret;
    if (edit.suffix < 0 || edit.suffix > before.size() ||
        !std::equal(after.end() - edit.suffix, after.end(), before.end() - edit.suffix)) {
        edit.suffix = 0;
        while (edit.suffix < std::min(before.size(), after.size()) &&
               before[before.size() - 1 - edit.suffix] == after[after.size() - 1 - edit.suffix])
            ++edit.suffix;
    }
    const qsizetype limit = std::min(before.size(), after.size()) - edit.suffix;
    while (edit.prefix < limit && before[edit.prefix] == after[edit.prefix])
        ++edit.prefix;
    return edit;
}

} // namespace

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
    // Only the characters the user changed change bytes: the text before and
    // after the edit is matched against what the field showed, one character
    // per byte. Bytes shown as dots keep their values, and those after a 0x00
    // (the text ends there) stay where they are.
    const QString now = m_textEdit.text();
    const QList<uint> before = m_strShownText.toUcs4();
    const QList<uint> after = now.toUcs4();
    const TextEdit edit =
        FindTextEdit(before, after, now.left(m_textEdit.cursorPosition()).toUcs4().size());

    CByteString typed;
    QString accepted;
    int refused = 0;
    for (qsizetype i = edit.prefix; i < after.size() - edit.suffix; ++i) {
        const int code = UnicodeToDisplayCode(after[i]);
        // A character no byte stands for cannot be searched for, nor one
        // standing for 0x00, where the text would end: it leaves the field
        // with a beep, as a refused hex digit does.
        const CByteString byte = code < 0 ? CByteString()
                                          : TextToBytes(CByteString(1, static_cast<char>(code)),
                                                        m_nCharSet, AsciiToEbcdic);
        if (byte.empty() || byte[0] == '\0') {
            ++refused;
            continue;
        }
        typed += byte;
        accepted += QString::fromUcs4(reinterpret_cast<const char32_t*>(&after[i]), 1);
    }

    const CByteString old = GetBytes();
    const auto shown =
        static_cast<size_t>(std::min<qsizetype>(before.size(), qsizetype(old.size())));
    const auto from = std::min(static_cast<size_t>(edit.prefix), shown);
    const auto to = std::max(from, shown - std::min(shown, static_cast<size_t>(edit.suffix)));
    const CByteString bytes = old.substr(0, from) + typed + old.substr(to);

    const QString head =
        QString::fromUcs4(reinterpret_cast<const char32_t*>(before.data()), edit.prefix) + accepted;
    const QString tail = QString::fromUcs4(
        reinterpret_cast<const char32_t*>(before.data() + before.size() - edit.suffix),
        edit.suffix);
    m_strShownText = head + tail;
    if (refused > 0) {
        m_textEdit.setText(m_strShownText);
        m_textEdit.setCursorPosition(int(head.size()));
        for (int i = 0; i < refused; ++i)
            Beep();
    }
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
    m_strShownText = CodesToTextField(text);
    m_textEdit.setText(m_strShownText);
}
