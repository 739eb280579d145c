// The [Registry] section of the setup script: Key<n> (root token and subkey),
// Name<n> (the value name) and Value<n> ([(Pdd)] type token and data).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct RegistryItem {
    std::string Key;
    std::string Name;
    std::string Value;
};

// Key1/Name1/Value1, ... up to the first empty Key<n>.
std::vector<RegistryItem> ReadRegistryItems(const std::string& scriptPath);

struct RegistryKeyName {
    HKEY Root = HKEY_CURRENT_USER;
    std::string SubKey;
};

// Key<n>, verbatim. The first seven characters are the root token when the
// first is "(" or the seventh ")": "(Cuser)", "(Class)", "(Local)" or
// "(Users)", compared exactly; any other seven characters mean
// HKEY_CURRENT_USER. A text with neither is the subkey under
// HKEY_CURRENT_USER as a whole. One leading and one trailing "\" of the
// subkey are dropped.
RegistryKeyName ParseRegistryKey(const std::string& key);

struct RegistryValueData {
    enum class Kind { Nothing, String, ExpandString, Dword, Binary };
    Kind Type = Kind::Nothing;
    std::string Text;     // String and ExpandString
    uint32_t Number = 0;  // Dword, and Binary (its four bytes least significant first)
};

// Value<n>: every "(Pdd)" removed (marking a path), tokens expanded, the first
// five characters tested exactly as the type token. "(Int)"/"(Dwd)" data that
// does not convert gives 0; "(Bin)" data that does not convert as hexadecimal
// gives Nothing, as does an empty value. Another token stores the whole value.
RegistryValueData ParseRegistryValue(const std::string& value);
