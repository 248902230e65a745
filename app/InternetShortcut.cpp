#include "app/InternetShortcut.h"

#include <algorithm>
#include <cctype>
#include <sstream>

namespace {

std::string Trim(const std::string& text) {
    const auto blank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r'; };
    size_t first = 0;
    size_t last = text.size();
    while (first < last && blank(static_cast<unsigned char>(text[first])))
        ++first;
    while (last > first && blank(static_cast<unsigned char>(text[last - 1])))
        --last;
    return text.substr(first, last - first);
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix) {
    return text.size() >= prefix.size() &&
           EqualsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

} // namespace

std::optional<std::string> InternetShortcutUrl(const std::string& fileText) {
    std::istringstream in(fileText);
    std::string line;
    bool inGroup = false;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';')
            continue;
        if (line.front() == '[') {
            inGroup = line.back() == ']' &&
                      EqualsIgnoringCase(Trim(line.substr(1, line.size() - 2)), "InternetShortcut");
            continue;
        }
        const size_t equals = line.find('=');
        if (!inGroup || equals == std::string::npos ||
            !EqualsIgnoringCase(Trim(line.substr(0, equals)), "URL"))
            continue;
        const std::string value = Trim(line.substr(equals + 1));
        if (value.empty())
            return std::nullopt;
        return value;
    }
    return std::nullopt;
}

bool IsWebAddress(const std::string& url) {
    return StartsWithIgnoringCase(url, "http://") || StartsWithIgnoringCase(url, "https://");
}
