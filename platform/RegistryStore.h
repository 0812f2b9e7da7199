#pragma once

#include <string>
#include <vector>

// The values Qt's settings store keeps for an application in the Windows registry, under
// HKEY_CURRENT_USER\Software\<organisation>\<application>, read as they are stored so that none is
// decoded by Qt before it is checked. A value's key is its subkeys and name joined by '/'; its text is
// the string, or the number written in decimal; a value of any other type has isText false.
struct RegistryValue {
    std::u16string key;
    std::u16string text;
    bool isText = true;
};

enum class RegistryRead { Missing, Read, Failed };

// Only Windows has a registry: elsewhere the store is a file and this finds nothing.
RegistryRead ReadRegistryValues(const std::u16string& organisation, const std::u16string& application,
                                std::vector<RegistryValue>& values);
