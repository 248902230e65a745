// The system clipboard as copy and paste use it: the private block for our own
// windows (0x00 bytes included) beside plain text for other programs.
#pragma once

#include "storage/ByteString.h"

#include <optional>

// Replaces the clipboard's content with `bytes`: the private block and, as
// Latin-1 text, the bytes up to the first 0x00.
void PutBytesOnClipboard(const CByteString& bytes);

// What a paste takes: the private block's bytes (cut to what the block really
// holds), else the text's bytes as Latin-1 up to its first 0x00; nothing when
// the clipboard holds neither.
std::optional<CByteString> BytesFromClipboard();

// True when the clipboard holds the private block or text.
bool ClipboardHasPasteData();
