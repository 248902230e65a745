#include "display/StatusTexts.h"

#include "resources/StringTable.h"

namespace {

std::string Format(const char* format, std::int64_t value) {
    const auto u = static_cast<unsigned long long>(value);
    return res::FormatPrintf(format, u, u);
}

} // namespace

std::string FormatOffsetStatus(std::int64_t caret) {
    return Format("Ofs %I64u  0x%I64X", caret);
}

std::string FormatSelectionStatus(std::int64_t length) {
    if (length == 0)
        return std::string();
    return Format("Sel %I64u  0x%I64X", length);
}
