// Whether a file looks like text, judged from its first bytes, and what the
// open-text-file mode makes of it. No Qt.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Only this much of a file's start is looked at.
inline constexpr std::uint32_t kTextSampleSize = 8192;

// Tab, line feed, carriage return and every byte from 0x20 up count as text.
bool LooksLikeTextBytes(const std::uint8_t* data, std::size_t count);

// Reads the file's first bytes (read access, deny-write sharing) and judges
// them; an empty file is not text. Raises CFileException when the file cannot
// be opened or read.
bool LooksLikeText(const std::string& path);

// The open-text-file mode: 0 hands text files to the text editor, 2 asks, any
// other value opens them in hex.
enum OpenTextMode : int { openAsText = 0, openBinary = 1, openAsk = 2 };

enum class TextOpenDecision { OpenInHex, HandOver, Ask };

// What to do with a file that looks like text.
TextOpenDecision DecideTextOpen(int openTextMode);
