// The roots that registry locations of scripts and records name by their
// tokens (script/RegistrySection.h), and the removal of a key named that way.
#pragma once

#include "script/InstallScope.h"
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

// Where a run keeps its file types: HKEY_CLASSES_ROOT, or for a user
// install HKEY_CURRENT_USER\Software\Classes (the user's part of it).
struct ClassesLocation {
    std::string rootToken;  // as DeleteRegistryKey takes it
    std::string prefix;     // before each class's key path
    HKEY Root() const { return RootKeyOf(rootToken); }
    std::string Key(const std::string& path) const { return prefix + path; }
};
ClassesLocation ClassesOf(InstallScope scope);

// The root of the run's Add/Remove entry: HKEY_LOCAL_MACHINE, or for a user
// install HKEY_CURRENT_USER (Apps & Features shows it to that user).
HKEY UninstallEntryRoot(InstallScope scope);

// "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER", for logs and reports.
std::string UninstallEntryRootName(InstallScope scope);

// Deletes the key with all its subkeys, passing again while it is still
// there, at most 99 times. An empty key path (or a lone backslash) deletes
// nothing: never a whole root. Always true; failures are not reported.
bool DeleteRegistryKey(const std::string& rootToken, const std::string& keyPath);
