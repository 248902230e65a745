#include "app/RegistryTree.h"

#include <vector>

namespace {

constexpr unsigned kMaxSubkeys = 256;
constexpr size_t kMaxSubkeyName = 255;

} // namespace

bool DeleteRegistryTree(IRegistry& registry, RegKey root, const std::string& subkey) {
    RegKey key = 0;
    if (!registry.OpenKey(root, subkey, true, &key))
        return false;

    // Collect the names first: deleting while enumerating by index would skip keys.
    std::vector<std::string> names;
    for (unsigned index = 0; index < kMaxSubkeys; ++index) {
        std::string name;
        if (!registry.EnumSubkey(key, index, &name) || name.size() > kMaxSubkeyName)
            break;
        names.push_back(std::move(name));
    }
    for (const std::string& name : names)
        DeleteRegistryTree(registry, key, name);

    registry.CloseKey(key);
    // Reported as it is: a key left with subkeys beyond the first 256 stays.
    return registry.DeleteKey(root, subkey);
}

bool SetRegistryString(IRegistry& registry, RegKey root, const std::string& subkey,
                       const char* valueName, const std::string& text) {
    RegKey key = 0;
    if (!registry.CreateKey(root, subkey, &key))
        return false;
    const bool ok = registry.SetStringValue(key, valueName, text);
    registry.CloseKey(key);
    return ok;
}

std::string GetRegistryString(IRegistry& registry, RegKey root, const std::string& subkey,
                              const char* valueName) {
    RegKey key = 0;
    if (!registry.OpenKey(root, subkey, false, &key))
        return std::string();
    std::string text;
    if (!registry.QueryStringValue(key, valueName, &text))
        text.clear();
    registry.CloseKey(key);
    return text;
}
