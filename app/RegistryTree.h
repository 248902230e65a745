// Registry helpers of the shell registration: deleting a whole tree and
// reading or writing one string value in a single call.
#pragma once

#include "app/IRegistry.h"

#include <string>

// Deletes root\subkey and everything below it. Only the first 256 direct subkeys
// of each key are taken; a key that keeps subkeys beyond them cannot be deleted.
// False when the key cannot be opened with full access or could not be deleted.
bool DeleteRegistryTree(IRegistry& registry, RegKey root, const std::string& subkey);

// Creates root\subkey as needed and sets a string value (null name: default value).
bool SetRegistryString(IRegistry& registry, RegKey root, const std::string& subkey,
                       const char* valueName, const std::string& text);

// The string value, or an empty string when the key or value cannot be read.
std::string GetRegistryString(IRegistry& registry, RegKey root, const std::string& subkey,
                              const char* valueName);
