#ifdef _WIN32

#include "platform/WindowsNames.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>

namespace platform::winnames {

std::wstring Wide(const std::string& text) {
    if (text.empty())
        return std::wstring();
    const int n =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
    return out;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                        nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasLongPrefix(const std::string& path) {
    return path.rfind("\\\\?\\", 0) == 0;
}

// The parts of a path after its root ("C:", "\\?\C:", "\\server\share").
std::vector<std::string> NameParts(const std::string& path) {
    std::string rest = path;
    if (rest.rfind("\\\\?\\UNC\\", 0) == 0)
        rest = rest.substr(8);
    else if (HasLongPrefix(rest) || rest.rfind("\\\\.\\", 0) == 0)
        rest = rest.substr(4);
    if (rest.size() >= 2 && rest[1] == ':')
        rest = rest.substr(2);
    std::vector<std::string> parts(1);
    for (const char c : rest) {
        if (IsSeparator(c))
            parts.emplace_back();
        else
            parts.back() += c;
    }
    parts.erase(std::remove(parts.begin(), parts.end(), std::string()), parts.end());
    return parts;
}

// "file:stream" or "file::$DATA": a data stream of a file, which a rewrite
// could not put in place (a move cannot take a stream name).
bool IsStreamName(const std::string& path) {
    for (const std::string& part : NameParts(path))
        if (part.find(':') != std::string::npos)
            return true;
    return false;
}

// CON, PRN, AUX, NUL, COM0-9 and LPT0-9, with any extension and blanks
// before it ("aux.txt", "nul .c"): under normal path rules such a name opens
// the device in every folder.
bool IsDeviceName(const std::string& part) {
    std::string base = part.substr(0, part.find('.'));
    while (!base.empty() && (base.back() == ' ' || base.back() == '.'))
        base.pop_back();
    for (char& c : base)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    for (const char* device : kDevices)
        if (base == device)
            return true;
    return base.size() == 4 && (base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0) &&
           base[3] >= '0' && base[3] <= '9';
}

// Whether `path` (without the "\\?\" prefix) names the same file under
// normal path rules, which drop trailing dots and blanks, and open devices
// for reserved names.
bool SameWithoutLongPrefix(const std::string& path) {
    for (const std::string& part : NameParts(path))
        if (part.back() == '.' || part.back() == ' ' || IsDeviceName(part))
            return false;
    return path.size() < MAX_PATH;
}

// "\\?\C:\x" and "\\?\UNC\server\x" back to the names users know, where
// that names the same file.
std::string WithoutLongPrefix(const std::string& path) {
    std::string plain = path;
    if (path.rfind("\\\\?\\UNC\\", 0) == 0)
        plain = "\\\\" + path.substr(8);
    else if (HasLongPrefix(path))
        plain = path.substr(4);
    return SameWithoutLongPrefix(plain) ? plain : path;
}

} // namespace platform::winnames

#endif // _WIN32
