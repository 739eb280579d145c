#include "services/RegistryKeys.h"

#include "script/PathParts.h"
#include "script/ScriptTokens.h"
#include "services/Win32Registry.h"

namespace {

constexpr int MaximumDeletionPasses = 99;

}  // namespace

HKEY RootKeyOf(const std::string& rootToken)
{
    if (rootToken == ScriptTokens::ClassesRoot) return HKEY_CLASSES_ROOT;
    if (rootToken == ScriptTokens::LocalMachine) return HKEY_LOCAL_MACHINE;
    if (rootToken == ScriptTokens::Users) return HKEY_USERS;
    return HKEY_CURRENT_USER;
}

RegistryKeyName ParseRegistryKey(const std::string& key)
{
    const RegistryLocation location = ParseScriptRegistryKey(key);
    return {RootKeyOf(location.rootToken), location.keyPath};
}

ClassesLocation ClassesOf(InstallScope scope)
{
    if (scope == InstallScope::User) return {std::string(ScriptTokens::CurrentUser), "Software\\Classes\\"};
    return {std::string(ScriptTokens::ClassesRoot), ""};
}

HKEY UninstallEntryRoot(InstallScope scope)
{
    return scope == InstallScope::User ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

std::string UninstallEntryRootName(InstallScope scope)
{
    return scope == InstallScope::User ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
}

bool DeleteRegistryKey(const std::string& rootToken, const std::string& keyPath)
{
    // The system refuses a leading backslash; it means the same as none.
    const std::string path = WithoutLeadingBackslash(keyPath);
    if (path.empty()) return true;
    const HKEY root = RootKeyOf(rootToken);
    // A pass removes the subkeys depth first and then the key; one that the
    // system let only partly through is followed by another.
    for (int pass = 0; pass < MaximumDeletionPasses && RegKeyExists(root, path); ++pass)
        DeleteRegTree(root, path);
    return true;
}
