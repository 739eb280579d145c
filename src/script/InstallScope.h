// For whom a run installs: the whole machine (HKEY_LOCAL_MACHINE, the
// Windows folder, administrator rights) or the person running it (the
// profile and HKEY_CURRENT_USER only, no rights needed). The script's
// [Product] Scope says which it allows, the switches /ALLUSERS and
// /CURRENTUSER choose where it allows both, and a run that needs rights it
// lacks starts itself again elevated.
#pragma once

#include "script/ProfileText.h"

#include <optional>
#include <string>

struct SetupScript;

enum class InstallScope { Machine, User };

// [Product] Scope: "Machine" (the default, also for a value it does not
// know), "User" or "Either", letter case ignored.
enum class ScopeChoice { Machine, User, Either };
ScopeChoice ReadScopeChoice(const ProfileText& script);
// The value as the author wrote it is one of the three (or missing).
bool IsKnownScopeValue(const std::string& value);

// /ALLUSERS or /CURRENTUSER, when the command line gives one.
enum class ScopeSwitch { None, AllUsers, CurrentUser };

struct ScopeDecision {
    enum class Action {
        RunHere,      // go on in this process with `scope`
        RunElevated,  // start again with administrator rights; `scope` is Machine
        Ask,          // an interactive Either run without a switch: the person chooses
        Refuse,       // the switch contradicts the script: exit 87
    };
    Action action = Action::RunHere;
    InstallScope scope = InstallScope::Machine;
};

// The one rule for every run: the script's choice, the switch, whether this
// process has administrator rights and whether a person is there to ask.
ScopeDecision DecideScope(ScopeChoice script, ScopeSwitch choice, bool elevated, bool unattended);

// The decision once the person answered the choice (or an unattended
// Either run had its rule applied): a machine install without rights runs
// elevated, anything else here.
ScopeDecision DecisionFor(InstallScope scope, bool elevated);

// The first entry of `script` that has no place in a user install, as the
// author wrote it with its section ("[CopyFile] File3=(Sys)\X.DLL"): a file
// or folder in the Windows or system folder, a shared-DLL count, an INI
// file there, a registry key under HKEY_LOCAL_MACHINE outside Software or
// under HKEY_USERS. Nothing when the script is fit for one user.
std::optional<std::string> UserScopeRefusal(const SetupScript& script);

// A user install's setup folder for the script's `folder` (tokens
// expanded): the same relative folder under `userPrograms` when it lies
// under `machinePrograms` (both with a trailing backslash), else `folder`.
std::string UserSetupFolder(const std::string& folder, const std::string& machinePrograms,
                            const std::string& userPrograms);

// The registry location (root token and key path, as a script's [Registry]
// or [DeleteRegistry] key names it) a user install uses instead:
// (Local)Software\... becomes (Cuser)Software\..., (Class)... becomes
// (Cuser)Software\Classes\..., (Cuser) stays. Nothing for the others.
std::optional<std::string> UserRegistryKey(const std::string& key);

// The script as a user install carries it out: its registry keys moved to
// their HKEY_CURRENT_USER counterparts (UserScopeRefusal passed first, so
// every key has one).
void MoveRegistryKeysToUser(SetupScript& script);
