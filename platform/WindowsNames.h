// UTF-8 names to and from the system's UTF-16, and the rules of Windows path names that the file
// layer applies before it opens or rewrites a file: "\\?\" names, data streams and reserved device
// names.
#pragma once

#ifdef _WIN32

#include <string>
#include <vector>

namespace platform::winnames {

std::wstring Wide(const std::string& text);
std::string Narrow(const std::wstring& text);

bool IsSeparator(char c);
bool HasLongPrefix(const std::string& path);
// The parts of a path after its root ("C:", "\\?\C:", "\\server\share").
std::vector<std::string> NameParts(const std::string& path);
// "file:stream" or "file::$DATA": a data stream of a file.
bool IsStreamName(const std::string& path);
// CON, PRN, AUX, NUL, COM0-9, LPT0-9, with any extension.
bool IsDeviceName(const std::string& part);
// Whether `path` names the same file under normal path rules.
bool SameWithoutLongPrefix(const std::string& path);
// "\\?\C:\x" back to "C:\x" where that names the same file.
std::string WithoutLongPrefix(const std::string& path);

} // namespace platform::winnames

#endif // _WIN32
