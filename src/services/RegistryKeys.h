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

// The first seven characters are the root token when the first is "(" and
// the seventh ")"; the key path is then the rest. Otherwise the whole text is
// the key path and the token "(Cuser)".
RegistryLocation SplitRegistryLocation(const std::string& location);

// "(Cuser)", "(Class)", "(Local)", "(Users)", compared exactly with their
// letter case; any other text means HKEY_CURRENT_USER.
HKEY RootKeyOf(const std::string& rootToken);

// Deletes the key with all its subkeys, passing again while it is still
// there, at most 99 times. An empty key path (or a lone backslash) deletes
// nothing: never a whole root. Always true; failures are not reported.
bool DeleteRegistryKey(const std::string& rootToken, const std::string& keyPath);
