// The roots that registry locations of scripts and records name by their
// tokens (script/RegistrySection.h), and the removal of a key named that way.
#pragma once

#include "script/RegistrySection.h"

#include <windows.h>

#include <string>

// "(Cuser)", "(Class)", "(Local)", "(Users)", compared exactly with their
// letter case; any other text means HKEY_CURRENT_USER.
HKEY RootKeyOf(const std::string& rootToken);

struct RegistryKeyName {
    HKEY root = HKEY_CURRENT_USER;
    std::string subKey;
};

// A setup script's [Registry] key (and [DefaultFolder] ReferRegistry) as
// ParseScriptRegistryKey reads it, its root token selecting the root as
// RootKeyOf does.
RegistryKeyName ParseRegistryKey(const std::string& key);

// Deletes the key with all its subkeys, passing again while it is still
// there, at most 99 times. An empty key path (or a lone backslash) deletes
// nothing: never a whole root. Always true; failures are not reported.
bool DeleteRegistryKey(const std::string& rootToken, const std::string& keyPath);
