#include "commands/BinaryClipboard.h"

#include "commands/ClipboardBlock.h"
#include "display/DisplayCodePage.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QString>

namespace {

const QString& PrivateMimeType() {
    static const QString type = QString::fromLatin1(kClipboardMimeType);
    return type;
}

// Bytes as text for other programs, with the table the character pane uses:
// 0x80-0x9F are the Windows-1252 characters (0x80 is the euro sign).
QString BytesToClipboardText(const CByteString& bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes)
        *out++ = QChar(ByteToTextChar(static_cast<unsigned char>(c)));
    return text;
}

// The reverse; a character no byte stands for becomes '?'.
CByteString ClipboardTextToBytes(const QString& text) {
    CByteString bytes;
    bytes.reserve(static_cast<size_t>(text.size()));
    for (const char32_t ch : text.toUcs4()) {
        const int code = UnicodeToDisplayCode(ch);
        bytes += static_cast<char>(code < 0 ? '?' : code);
    }
    return bytes;
}

} // namespace

void PutBytesOnClipboard(const CByteString& bytes) {
    auto* data = new QMimeData;
    const CByteString block = EncodeClipboardBlock(bytes);
    data->setData(PrivateMimeType(),
                  QByteArray(block.data(), static_cast<qsizetype>(block.size())));
    const CByteString text = ClipboardTextPart(bytes);
    data->setText(BytesToClipboardText(text));
    QGuiApplication::clipboard()->setMimeData(data); // the clipboard owns it now
}

std::optional<CByteString> BytesFromClipboard() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data)
        return std::nullopt;
    if (data->hasFormat(PrivateMimeType())) {
        const QByteArray block = data->data(PrivateMimeType());
        // A block too short for its length field is no block: fall back to text.
        if (auto bytes = DecodeClipboardBlock(
                CByteString(block.constData(), static_cast<size_t>(block.size()))))
            return bytes;
    }
    if (data->hasText()) {
        return ClipboardTextPart(ClipboardTextToBytes(data->text()));
    }
    return std::nullopt;
}

bool ClipboardHasPasteData() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && (data->hasFormat(PrivateMimeType()) || data->hasText());
}
