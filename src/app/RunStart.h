// The part of a run's start and end that needs no window: the mode, the
// work folder with its copy of the script or record, what the script's or
// record's header says, and the clean-up when the run closes. The windows
// show what it reads; an unattended run uses it as it is.
#pragma once

#include "engine/RunState.h"
#include "install/InstalledProduct.h"

#include <array>
#include <optional>
#include <string>

// The journal of the running install, in the Windows folder (a user
// install's in the user's own folder): the next run finds it there,
// whatever its distribution or record.
inline constexpr const char* JournalFileName = "ORVSETUP.JNL";

// The mutex that a running copy holds, in the machine's global namespace:
// one copy on the whole machine, whatever the logon session (another
// user's, a remote desktop), since they all share the journal.
inline constexpr const char* InstanceMutexName = "Global\\ORVSETUP";

// Settles the journal an earlier run left, if one is there (and sets the
// run's journal path): the install of a run that was killed is undone, a
// journal whose install ended goes, one that does not hold together is kept
// aside for a person. First thing of every run.
void SettleEarlierJournal(RunState& state);

// The process of a run that is still alive and whose journal is in
// `ownFolder` (the Windows folder, or a user install's own folder): that run
// goes on, and no other may start.
std::optional<unsigned long> LiveJournalRun(const std::string& ownFolder);

// Chooses the mode from `record` (the first command-line argument: an
// uninstall record names "UNSETUP.INI"), takes a work folder and copies the
// script or the record into it; a script is read and parsed there, once,
// into `state.script`. Returns `folderErrors` (the fatal lines of the system
// folders that could not be found) with the lines for a script or record
// that could not be copied, or a script this program refuses to read;
// empty when the run can go on.
std::string PrepareRun(RunState& state, const std::string& record, std::string folderErrors);

// The header of the script (or the record): the pause between steps and the
// two titles.
void ReadRunHeader(RunState& state);

// Setup: the script's folder, else the folder an earlier install of the
// same program used, else the folder a registry value names; `programId`
// is read on the way. Uninstall: the record's setup folder. Tokens are not
// yet expanded.
std::string ProposedSetupFolder(RunState& state);

// The product this run's script installs, as found where this run installs
// it (the Add/Remove list below HKEY_LOCAL_MACHINE), compared with the
// script's version; nothing in an uninstall.
InstalledComparison LookForInstalledProduct(RunState& state);

// The folder the settings start with: `requested` (the command line's
// /DIR=) in setup mode when given, else `installed` (the folder of the
// product's earlier install, which an upgrade or a repair goes into) when
// not empty, else the proposed one; tokens expanded, "(App)" left as it
// is, with a trailing backslash.
std::string StartingSetupFolder(RunState& state, const std::optional<std::string>& requested,
                                const std::string& installed = {});

// The record's [UnSetupOption] CheckBox: "DeleteAll" (exactly) offers one
// box for everything below the folder; else four flags at characters 1, 3,
// 5 and 7 ("*.INI", "*.GID" and two that mean nothing to the uninstall), a
// flag beyond the end of the value not set.
struct UninstallOffer {
    bool deleteAllForm = false;
    std::array<bool, 4> flags{};
    bool IniFiles() const { return flags[0]; }
    bool HelpIndexes() const { return flags[1]; }
};
UninstallOffer ReadUninstallOffer(const RunSettings& run);

// The end of a run, however it ended: the work folders of this run and of
// earlier ones that did not close go (one in use stays for the next run),
// and the shell hears that associations, items and folders may have
// changed.
void CloseRun(const MachineFolders& machine);
