// The few registry operations shell registration needs, behind an interface so
// the algorithm runs against the Windows registry or an in-memory one.
#pragma once

#include <cstdint>
#include <string>

// An open key. The predefined roots carry the Windows handle values, so the
// Windows adapter can hand them to the system unchanged.
using RegKey = std::uintptr_t;

inline constexpr RegKey kHKeyClassesRoot = 0x80000000u;
inline constexpr RegKey kHKeyCurrentUser = 0x80000001u;
inline constexpr RegKey kHKeyLocalMachine = 0x80000002u;

class IRegistry {
public:
    virtual ~IRegistry() = default;

    // Opens parent\subkey; `write` asks for full access. False when it does not exist
    // or access is refused.
    virtual bool OpenKey(RegKey parent, const std::string& subkey, bool write, RegKey* key) = 0;
    // Opens parent\subkey with full access, creating it and any missing parents.
    virtual bool CreateKey(RegKey parent, const std::string& subkey, RegKey* key) = 0;
    virtual void CloseKey(RegKey key) = 0;
    // Name of the direct subkey at `index`; false past the last one.
    virtual bool EnumSubkey(RegKey key, unsigned index, std::string* name) = 0;
    // Deletes parent\subkey, which must have no subkeys of its own.
    virtual bool DeleteKey(RegKey parent, const std::string& subkey) = 0;
    // String values; a null name is the key's default (unnamed) value.
    virtual bool SetStringValue(RegKey key, const char* name, const std::string& text) = 0;
    virtual bool QueryStringValue(RegKey key, const char* name, std::string* text) = 0;
};
