// Registry locations as setup scripts and uninstall records write them: a
// seven-character root token such as "(Local)" directly followed by the key
// path; and the removal of a key named that way.
#pragma once

#include <windows.h>

#include <string>

struct RegistryLocation {
    std::string rootToken;
    std::string keyPath;  // as written after the token, backslashes included
};

// The uninstall record's reading: the first seven characters are the root
// token when the first is "(" and the seventh ")"; the key path is then the
// rest. Otherwise the whole text is the key path and the token "(Cuser)".
RegistryLocation SplitRegistryLocation(const std::string& location);

// "(Cuser)", "(Class)", "(Local)", "(Users)", compared exactly with their
// letter case; any other text means HKEY_CURRENT_USER.
HKEY RootKeyOf(const std::string& rootToken);

struct RegistryKeyName {
    HKEY root = HKEY_CURRENT_USER;
    std::string subKey;
};

// A setup script's [Registry] key (and [DefaultFolder] ReferRegistry), which
// asks less of the token's shape than the record: the first seven characters
// are the root token as soon as the first is "(" or the seventh ")", and
// select the root as RootKeyOf does. A text with neither is the subkey under
// HKEY_CURRENT_USER as a whole. One leading and one trailing "\" of the
// subkey are dropped.
RegistryKeyName ParseRegistryKey(const std::string& key);

// Deletes the key with all its subkeys, passing again while it is still
// there, at most 99 times. An empty key path (or a lone backslash) deletes
// nothing: never a whole root. Always true; failures are not reported.
bool DeleteRegistryKey(const std::string& rootToken, const std::string& keyPath);
