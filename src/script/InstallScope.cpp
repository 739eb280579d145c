#include "script/InstallScope.h"

#include "script/PathParts.h"
#include "script/RegistrySection.h"
#include "script/ScriptTokens.h"
#include "script/SetupScript.h"
#include "script/TextCase.h"
#include "script/TextParts.h"

#include <algorithm>

namespace {

bool NamesSystemFolder(const std::string& text)
{
    return TokenPos(std::string(ScriptTokens::Locations[2]), text) != 0 ||  // (Win)
           TokenPos(std::string(ScriptTokens::Locations[3]), text) != 0;    // (Sys)
}

// The part of a [CopyFile] value before its switches.
std::string CopyPathPart(const std::string& value)
{
    const size_t comma = value.find(',');
    return comma == std::string::npos ? value : value.substr(0, comma);
}

std::string Entry(const char* section, const char* key, size_t index, const std::string& value)
{
    return std::string("[") + section + "] " + key + std::to_string(index + 1) + "=" + value;
}

}  // namespace

ScopeChoice ReadScopeChoice(const ProfileText& script)
{
    const std::string value = AsciiUpper(script.Read("Product", "Scope"));
    if (value == "USER") return ScopeChoice::User;
    if (value == "EITHER") return ScopeChoice::Either;
    return ScopeChoice::Machine;
}

bool IsKnownScopeValue(const std::string& value)
{
    const std::string upper = AsciiUpper(value);
    return upper.empty() || upper == "MACHINE" || upper == "USER" || upper == "EITHER";
}

ScopeDecision DecisionFor(InstallScope scope, bool elevated)
{
    using Action = ScopeDecision::Action;
    if (scope == InstallScope::Machine && !elevated) return {Action::RunElevated, InstallScope::Machine};
    return {Action::RunHere, scope};
}

ScopeDecision DecideScope(ScopeChoice script, ScopeSwitch choice, bool elevated, bool unattended)
{
    using Action = ScopeDecision::Action;
    switch (script) {
    case ScopeChoice::Machine:
        if (choice == ScopeSwitch::CurrentUser) return {Action::Refuse, InstallScope::Machine};
        return DecisionFor(InstallScope::Machine, elevated);
    case ScopeChoice::User:
        if (choice == ScopeSwitch::AllUsers) return {Action::Refuse, InstallScope::User};
        return DecisionFor(InstallScope::User, elevated);
    case ScopeChoice::Either: break;
    }
    if (choice == ScopeSwitch::AllUsers) return DecisionFor(InstallScope::Machine, elevated);
    if (choice == ScopeSwitch::CurrentUser) return DecisionFor(InstallScope::User, elevated);
    if (!unattended) return {Action::Ask, elevated ? InstallScope::Machine : InstallScope::User};
    return {Action::RunHere, elevated ? InstallScope::Machine : InstallScope::User};
}

std::string UserSetupFolder(const std::string& folder, const std::string& machinePrograms,
                            const std::string& userPrograms)
{
    if (machinePrograms.empty() || userPrograms.empty()) return folder;
    if (!StartsWithText(WithTrailingBackslash(folder), machinePrograms)) return folder;
    return userPrograms + folder.substr(std::min(folder.size(), machinePrograms.size()));
}

std::optional<std::string> UserRegistryKey(const std::string& key)
{
    const RegistryLocation location = ParseScriptRegistryKey(key);
    const std::string path = location.keyPath;
    if (location.rootToken == ScriptTokens::LocalMachine) {
        const bool software = SameText(LeftStr(path, 9), "Software\\") || SameText(path, "Software");
        if (!software) return std::nullopt;
        return std::string(ScriptTokens::CurrentUser) + path;
    }
    if (location.rootToken == ScriptTokens::ClassesRoot)
        return std::string(ScriptTokens::CurrentUser) + "Software\\Classes" + (path.empty() ? "" : "\\" + path);
    if (location.rootToken == ScriptTokens::Users) return std::nullopt;
    // (Cuser), and any other text, which means HKEY_CURRENT_USER anyway.
    return key;
}

std::optional<std::string> UserScopeRefusal(const SetupScript& script)
{
    for (size_t n = 0; n < script.copyFiles.size(); ++n) {
        const std::string& value = script.copyFiles[n];
        const size_t comma = value.find(',');
        const std::string switches = comma == std::string::npos ? std::string() : value.substr(comma);
        const bool shared = Contains(switches, "/S");  // as the copy phase reads it
        if (NamesSystemFolder(CopyPathPart(value)) || shared) return Entry("CopyFile", "File", n, value);
    }
    for (size_t n = 0; n < script.makeFolders.size(); ++n)
        if (NamesSystemFolder(script.makeFolders[n])) return Entry("MakeFolder", "Folder", n, script.makeFolders[n]);
    for (size_t n = 0; n < script.iniFiles.size(); ++n) {
        // The file is everything after the third comma.
        const std::string& value = script.iniFiles[n];
        size_t at = 0;
        for (int comma = 0; comma < 3 && at != std::string::npos; ++comma) {
            at = value.find(',', at);
            if (at != std::string::npos) ++at;
        }
        if (at != std::string::npos && NamesSystemFolder(value.substr(at))) return Entry("IniFile", "Data", n, value);
    }
    for (size_t n = 0; n < script.registry.size(); ++n)
        if (!UserRegistryKey(script.registry[n].key)) return Entry("Registry", "Key", n, script.registry[n].key);
    for (size_t n = 0; n < script.deleteRegistry.size(); ++n)
        if (!UserRegistryKey(script.deleteRegistry[n]))
            return Entry("DeleteRegistry", "Key", n, script.deleteRegistry[n]);
    return std::nullopt;
}

void MoveRegistryKeysToUser(SetupScript& script)
{
    for (RegistryItem& item : script.registry)
        if (const std::optional<std::string> key = UserRegistryKey(item.key)) item.key = *key;
    for (std::string& key : script.deleteRegistry)
        if (const std::optional<std::string> moved = UserRegistryKey(key)) key = *moved;
}
