// The Windows registry behind IRegistry, and the running system's platform
// family. Built on Windows only.
#pragma once

#ifdef _WIN32

#include "app/IRegistry.h"
#include "app/ShellRegistration.h"

class CWin32Registry : public IRegistry {
public:
    bool OpenKey(RegKey parent, const std::string& subkey, bool write, RegKey* key) override;
    bool CreateKey(RegKey parent, const std::string& subkey, RegKey* key) override;
    void CloseKey(RegKey key) override;
    bool EnumSubkey(RegKey key, unsigned index, std::string* name) override;
    bool DeleteKey(RegKey parent, const std::string& subkey) override;
    bool SetStringValue(RegKey key, const char* name, const std::string& text) override;
    bool QueryStringValue(RegKey key, const char* name, std::string* text) override;
};

PlatformFamily CurrentPlatformFamily();

#endif // _WIN32
