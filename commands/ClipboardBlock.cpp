#include "commands/ClipboardBlock.h"

#include "resources/StringTable.h"

#include <algorithm>

bool IsCopyAllowed(std::int64_t length) {
    return length <= kClipboardCopyLimit;
}

std::string CopyTooLargeMessage() {
    return res::FormatPrintf(res::LoadString(146), 20);
}

CByteString EncodeClipboardBlock(const CByteString& bytes) {
    const auto n = static_cast<std::uint32_t>(bytes.size());
    CByteString block;
    block.reserve(bytes.size() + 4);
    for (int shift = 0; shift < 32; shift += 8)
        block += static_cast<char>((n >> shift) & 0xFF);
    block += bytes;
    return block;
}

std::optional<CByteString> DecodeClipboardBlock(const CByteString& block) {
    if (block.size() < 4)
        return std::nullopt;
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i)
        n = (n << 8) | static_cast<unsigned char>(block[static_cast<size_t>(i)]);
    // The length field comes from whoever filled the clipboard: trust only what is there.
    const size_t held = block.size() - 4;
    return block.substr(4, std::min<size_t>(n, held));
}

CByteString ClipboardTextPart(const CByteString& bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

std::int64_t PasteCount(std::int64_t dataLength, std::int64_t contentLength, std::int64_t caret) {
    const std::int64_t room = contentLength - caret;
    if (dataLength <= 0 || room <= 0)
        return 0;
    return std::min(dataLength, room);
}
