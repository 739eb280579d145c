// The [Registry] section of the setup script: Key<n> (root token and subkey),
// Name<n> (the value name) and Value<n> ([(Pdd)] type token and data).
#pragma once

#include "services/LocationTokens.h"

#include "services/RegistryKeys.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct RegistryItem {
    std::string key;
    std::string name;
    std::string value;
};

// Key1/Name1/Value1, ... up to the first empty Key<n>.
std::vector<RegistryItem> ReadRegistryItems(const std::string& scriptPath);

struct RegistryValueData {
    enum class Kind { Nothing, String, ExpandString, Dword, Binary };
    Kind type = Kind::Nothing;
    std::string text;     // String and ExpandString
    uint32_t number = 0;  // Dword, and Binary (its four bytes least significant first)
};

// Value<n>: every "(Pdd)" removed (marking a path), tokens expanded, the first
// five characters tested exactly as the type token. "(Int)"/"(Dwd)" data that
// does not convert gives 0; "(Bin)" data that does not convert as hexadecimal
// gives Nothing, as does an empty value. Another token stores the whole value.
RegistryValueData ParseRegistryValue(const std::string& value, const LocationTable& folders);
