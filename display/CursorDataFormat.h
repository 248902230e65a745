// Texts of the cursor data window: the bytes at the caret read as an 8-, 16-
// and 32-bit integer, a float and a double, in either byte order.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr int kCursorDataFirstId = 1045; // byte; then 16-bit, 32-bit, float, double
inline constexpr int kCursorDataLastId = 1049;
inline constexpr std::size_t kCursorDataBytes = 8;

using CursorDataTexts = std::array<std::string, 5>;

// `bytes` holds the `count` bytes read at the caret (at most 8 are used).
// byteOrder 0 is little-endian, any other value big-endian. A field needing more
// bytes than were read shows "---".
CursorDataTexts FormatCursorData(const std::uint8_t* bytes, std::size_t count, int byteOrder);

// The texts of the last computation and what they were computed for, so the
// five fields and every idle refresh share one read.
class CCursorDataCache {
public:
    // True, and the key is taken as the new one, when anything in it differs
    // from the last request. `contentStamp` lets a caller also refresh on edits.
    bool NeedsCompute(const void* view, std::int64_t caret, int byteOrder,
                      std::uint64_t contentStamp = 0);
    void Store(const CursorDataTexts& texts) { m_texts = texts; }
    // The text of control 1045-1049; empty for any other identifier.
    const std::string& Text(int controlId) const;
    void Invalidate() { m_valid = false; }

private:
    bool m_valid = false;
    const void* m_view = nullptr;
    std::int64_t m_caret = -1;
    int m_byteOrder = -1;
    std::uint64_t m_stamp = 0;
    CursorDataTexts m_texts;
};
