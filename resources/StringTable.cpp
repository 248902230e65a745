#include "resources/StringTable.h"

#include <cstdarg>
#include <cstdio>
#include <unordered_map>
#include <vector>

namespace res {

namespace {

struct Entry {
    unsigned id;
    const char* text;
};

constexpr Entry kEntries[] = {
#define QX_STRING(id, text) {id, text},
#include "resources/AllStrings.inc"
#undef QX_STRING
};

const std::unordered_map<unsigned, const char*>& Table() {
    static const std::unordered_map<unsigned, const char*> table = [] {
        std::unordered_map<unsigned, const char*> map;
        for (const Entry& entry : kEntries)
            map.emplace(entry.id, entry.text);
        return map;
    }();
    return table;
}

} // namespace

std::vector<unsigned> DuplicateIds() {
    std::vector<unsigned> ids;
    std::unordered_map<unsigned, int> seen;
    for (const Entry& entry : kEntries)
        if (++seen[entry.id] == 2)
            ids.push_back(entry.id);
    return ids;
}

const char* LoadString(unsigned id) {
    const auto& table = Table();
    const auto it = table.find(id);
    return it == table.end() ? "" : it->second;
}

std::string FormatArgs(const std::string& text, std::initializer_list<std::string> args) {
    std::vector<std::string> values(args);
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const size_t n = static_cast<size_t>(text[i + 1] - '1');
            if (n < values.size()) {
                out += values[n];
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

std::string FormatPrintf(const char* format, ...) {
    // Turn the stored "%I64" prefix into the standard "ll".
    std::string fmt;
    for (const char* p = format; *p; ++p) {
        if (p[0] == '%' && p[1] == 'I' && p[2] == '6' && p[3] == '4') {
            fmt += "%ll";
            p += 3;
        } else {
            fmt += *p;
        }
    }
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int size = std::vsnprintf(nullptr, 0, fmt.c_str(), copy);
    va_end(copy);
    std::string out;
    if (size > 0) {
        out.resize(static_cast<size_t>(size) + 1);
        std::vsnprintf(out.data(), out.size(), fmt.c_str(), args);
        out.resize(static_cast<size_t>(size));
    }
    va_end(args);
    return out;
}

std::string PromptPart(unsigned id) {
    const std::string text = LoadString(id);
    return text.substr(0, text.find('\n'));
}

std::string TooltipPart(unsigned id) {
    const std::string text = LoadString(id);
    const size_t nl = text.find('\n');
    return nl == std::string::npos ? std::string() : text.substr(nl + 1);
}

} // namespace res
