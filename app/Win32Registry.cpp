#ifdef _WIN32

#include "app/Win32Registry.h"

#include <windows.h>

#include <vector>

namespace {

HKEY ToHkey(RegKey key) {
    return reinterpret_cast<HKEY>(key);
}

bool IsPredefined(RegKey key) {
    return key == kHKeyClassesRoot || key == kHKeyCurrentUser || key == kHKeyLocalMachine;
}

} // namespace

bool CWin32Registry::OpenKey(RegKey parent, const std::string& subkey, bool write, RegKey* key) {
    HKEY opened = nullptr;
    const REGSAM access = write ? KEY_ALL_ACCESS : KEY_READ;
    if (RegOpenKeyExA(ToHkey(parent), subkey.c_str(), 0, access, &opened) != ERROR_SUCCESS)
        return false;
    *key = reinterpret_cast<RegKey>(opened);
    return true;
}

bool CWin32Registry::CreateKey(RegKey parent, const std::string& subkey, RegKey* key) {
    HKEY created = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExA(ToHkey(parent), subkey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &created, &disposition) != ERROR_SUCCESS)
        return false;
    *key = reinterpret_cast<RegKey>(created);
    return true;
}

void CWin32Registry::CloseKey(RegKey key) {
    if (!IsPredefined(key))
        RegCloseKey(ToHkey(key));
}

bool CWin32Registry::EnumSubkey(RegKey key, unsigned index, std::string* name) {
    char buffer[256];
    DWORD size = sizeof buffer;
    if (RegEnumKeyExA(ToHkey(key), index, buffer, &size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS)
        return false;
    name->assign(buffer, size);
    return true;
}

bool CWin32Registry::DeleteKey(RegKey parent, const std::string& subkey) {
    return RegDeleteKeyA(ToHkey(parent), subkey.c_str()) == ERROR_SUCCESS;
}

bool CWin32Registry::SetStringValue(RegKey key, const char* name, const std::string& text) {
    return RegSetValueExA(ToHkey(key), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

bool CWin32Registry::QueryStringValue(RegKey key, const char* name, std::string* text) {
    // Sized by the value itself, so a long program path still compares equal.
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(ToHkey(key), name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::vector<char> buffer(size + 1, '\0');
    if (RegQueryValueExA(ToHkey(key), name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return false;
    buffer[size] = '\0';
    text->assign(buffer.data());
    return true;
}

PlatformFamily CurrentPlatformFamily() {
    // Every system this build runs on belongs to the NT family.
    return PlatformFamily::WindowsNT;
}

#endif // _WIN32
