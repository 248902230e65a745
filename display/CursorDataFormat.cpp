#include "display/CursorDataFormat.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

const char* const kMissing = "---";

std::string Printf(const char* format, auto... args) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, args...);
    return buffer;
}

// Little-endian value of `size` bytes, reversed first for big-endian.
std::uint64_t Unsigned(const std::uint8_t* bytes, std::size_t size, bool bigEndian) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t b = bigEndian ? bytes[i] : bytes[size - 1 - i];
        value = (value << 8) | b;
    }
    return value;
}

template <typename Signed, typename UnsignedT> std::string IntegerText(UnsignedT u) {
    const auto s = static_cast<Signed>(u);
    if (s >= 0)
        return Printf("%lld", static_cast<long long>(s));
    return Printf("%llu (%lld)", static_cast<unsigned long long>(u), static_cast<long long>(s));
}

} // namespace

CursorDataTexts FormatCursorData(const std::uint8_t* bytes, std::size_t count, int byteOrder) {
    std::uint8_t b[kCursorDataBytes] = {};
    count = std::min(count, kCursorDataBytes);
    if (count > 0)
        std::memcpy(b, bytes, count);
    const bool big = byteOrder != 0;

    CursorDataTexts texts;
    texts[0] = count >= 1 ? IntegerText<std::int8_t>(b[0]) : kMissing;
    texts[1] = count >= 2
                   ? IntegerText<std::int16_t>(static_cast<std::uint16_t>(Unsigned(b, 2, big)))
                   : kMissing;
    const auto u32 = static_cast<std::uint32_t>(Unsigned(b, 4, big));
    texts[2] = count >= 4 ? IntegerText<std::int32_t>(u32) : kMissing;
    if (count >= 4) {
        float f = 0;
        std::memcpy(&f, &u32, sizeof f);
        texts[3] = Printf("%g", static_cast<double>(f));
    } else {
        texts[3] = kMissing;
    }
    if (count >= 8) {
        const std::uint64_t u64 = Unsigned(b, 8, big);
        double d = 0;
        std::memcpy(&d, &u64, sizeof d);
        texts[4] = Printf("%g", d);
    } else {
        texts[4] = kMissing;
    }
    return texts;
}

bool CCursorDataCache::NeedsCompute(const void* view, std::int64_t caret, int byteOrder,
                                    std::uint64_t contentStamp) {
    if (m_valid && view == m_view && caret == m_caret && byteOrder == m_byteOrder &&
        contentStamp == m_stamp)
        return false;
    m_valid = true;
    m_view = view;
    m_caret = caret;
    m_byteOrder = byteOrder;
    m_stamp = contentStamp;
    return true;
}

const std::string& CCursorDataCache::Text(int controlId) const {
    static const std::string empty;
    if (controlId < kCursorDataFirstId || controlId > kCursorDataLastId)
        return empty;
    return m_texts[static_cast<std::size_t>(controlId - kCursorDataFirstId)];
}
