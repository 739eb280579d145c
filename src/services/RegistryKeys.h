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

// The setup script's reading of a [Registry] key, which asks less of the
// token's shape: the first seven characters are taken as the root token as
// soon as the first is "(" or the seventh ")"; only a text with neither is
// a key path below "(Cuser)" as a whole.
RegistryLocation SplitScriptRegistryKey(const std::string& key);

// "(Cuser)", "(Class)", "(Local)", "(Users)", compared exactly with their
// letter case; any other text means HKEY_CURRENT_USER.
HKEY RootKeyOf(const std::string& rootToken);

// Deletes the key with all its subkeys, passing again while it is still
// there, at most 99 times. An empty key path (or a lone backslash) deletes
// nothing: never a whole root. Always true; failures are not reported.
bool DeleteRegistryKey(const std::string& rootToken, const std::string& keyPath);
