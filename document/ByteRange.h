// A run of bytes of the content: where it starts and how many bytes it holds.
// Used for the selection, for what an edit changed and for what needs
// repainting, instead of pairs of offsets in either order.
#pragma once

#include <algorithm>
#include <cstdint>

struct CByteRange {
    std::int64_t start = 0;
    std::int64_t length = 0;

    // The bytes between two offsets given in either order.
    static constexpr CByteRange Between(std::int64_t a, std::int64_t b) {
        return {std::min(a, b), a < b ? b - a : a - b};
    }

    constexpr std::int64_t End() const { return start + length; }
    constexpr bool IsEmpty() const { return length <= 0; }
    constexpr bool Contains(std::int64_t offset) const { return offset >= start && offset < End(); }
    // The part that lies within a content of `contentLength` bytes.
    constexpr CByteRange Clamped(std::int64_t contentLength) const {
        const std::int64_t first = std::clamp<std::int64_t>(start, 0, contentLength);
        const std::int64_t last = std::clamp<std::int64_t>(End(), first, contentLength);
        return {first, last - first};
    }
    constexpr bool operator==(const CByteRange&) const = default;
};
