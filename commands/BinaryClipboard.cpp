#include "commands/BinaryClipboard.h"

#include "commands/ClipboardBlock.h"

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

} // namespace

void PutBytesOnClipboard(const CByteString& bytes) {
    auto* data = new QMimeData;
    const CByteString block = EncodeClipboardBlock(bytes);
    data->setData(PrivateMimeType(),
                  QByteArray(block.data(), static_cast<qsizetype>(block.size())));
    const CByteString text = ClipboardTextPart(bytes);
    data->setText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
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
        const QByteArray text = data->text().toLatin1();
        return ClipboardTextPart(CByteString(text.constData(), static_cast<size_t>(text.size())));
    }
    return std::nullopt;
}

bool ClipboardHasPasteData() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && (data->hasFormat(PrivateMimeType()) || data->hasText());
}
