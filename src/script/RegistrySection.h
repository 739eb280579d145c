// The [Registry] section of the setup script: Key<n> (root token and subkey),
// Name<n> (the value name) and Value<n> ([(Pdd)] type token and data).
#pragma once

#include "script/LocationTokens.h"

#include <cstdint>
#include <string>

struct RegistryItem {
    std::string key;
    std::string name;
    std::string value;
};

// A registry location as scripts and records write it: a seven-character
// root token such as "(Local)" directly followed by the key path.
struct RegistryLocation {
    std::string rootToken;
    std::string keyPath;
};

// The uninstall record's reading: the first seven characters are the root
// token when the first is "(" and the seventh ")"; the key path is then the
// rest. Otherwise the whole text is the key path and the token "(Cuser)".
RegistryLocation SplitRegistryLocation(const std::string& location);

// A setup script's [Registry] key (and [DefaultFolder] ReferRegistry), which
// asks less of the token's shape than the record: the first seven characters
// are the root token as soon as the first is "(" or the seventh ")"; a text
// with neither is the key path under "(Cuser)" as a whole. One leading and
// one trailing "\" of the key path are dropped. The root token selects its
// root only when it is one of the four exactly, letter case included; any
// other means HKEY_CURRENT_USER.
RegistryLocation ParseScriptRegistryKey(const std::string& key);
bool HasRootTokenShape(const std::string& key);

struct RegistryValueData {
    enum class Kind { Nothing, String, ExpandString, Dword, Binary };
    Kind type = Kind::Nothing;
    std::string text;     // String and ExpandString
    uint32_t number = 0;  // Dword, and Binary (its four bytes least significant first)
};

// The value with every "(Pdd)" removed (found case-blind).
std::string WithoutPathMarks(const std::string& value);

// Value<n>: every "(Pdd)" removed (marking a path), tokens expanded, the first
// five characters tested exactly as the type token. "(Int)"/"(Dwd)" data that
// does not convert gives 0; "(Bin)" data that does not convert as hexadecimal
// gives Nothing, as does an empty value. Another token stores the whole value.
RegistryValueData ParseRegistryValue(const std::string& value, const LocationTable& folders);
