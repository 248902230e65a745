// What copy and paste put on and take from the clipboard: the private block
// (4-byte little-endian length, then the bytes), the plain-text form, the copy
// limit, and how much a paste may overwrite.
#pragma once

#include "storage/ByteString.h"

#include <cstdint>
#include <optional>
#include <string>

// The private format's name, and the MIME type under which Qt offers it to
// Windows programs as that registered format.
inline constexpr const char* kClipboardFormatName = "Quexo binary data";
inline constexpr const char* kClipboardMimeType =
    "application/x-qt-windows-mime;value=\"Quexo binary data\"";

// Larger selections are refused with message 146 (20 MB).
inline constexpr std::int64_t kClipboardCopyLimit = 20 * 1048576;

bool IsCopyAllowed(std::int64_t length);
std::string CopyTooLargeMessage();

// The private block of `bytes`, which must not exceed the copy limit.
CByteString EncodeClipboardBlock(const CByteString& bytes);

// The bytes of a private block. A block whose length field claims more than it
// holds gives what it holds; one too short for the length field is nullopt.
std::optional<CByteString> DecodeClipboardBlock(const CByteString& block);

// Plain text carries the bytes unchanged (as Latin-1) up to the first 0x00:
// that is all a text reader sees of them, and all a text paste takes.
CByteString ClipboardTextPart(const CByteString& bytes);

// Bytes a paste of `dataLength` bytes overwrites at `caret`: never past the end
// of the content, so a paste never makes it longer.
std::int64_t PasteCount(std::int64_t dataLength, std::int64_t contentLength, std::int64_t caret);
