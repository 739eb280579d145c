// What more than one part of a run needs about its environment, in three
// parts: the machine's folders (set once at the start), the run's settings
// (from the start-up and the script's header) and what the install settles
// (the setup folder and its paths, the restore slots, the restart). One
// record for the whole process, used by one thread at a time: the window
// thread, but the worker thread while a procedure runs on it (the windows
// then read only the mode, which the start-up fixed); functions that need
// one part take that part.
#pragma once

#include "record/UninstallLists.h"
#include "script/InstallScope.h"
#include "services/WaitingChanges.h"
#include "script/LocationTokens.h"
#include "script/SetupScript.h"
#include "services/FailureReport.h"
#include "services/RunLog.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>

// The machine's folders, found once at the start and read-only after:
// where the distribution lies, the system's folders and the shell's.
struct MachineFolders {
    int32_t platformId = 0;  // 2 = Windows NT family, -1 when the query failed
    std::string sourceFolder;
    std::string tempFolder;
    std::string windowsFolder;
    std::string systemFolder;
    std::string programFilesFolder;
    std::string bootRoot;
    std::string sourceRoot;
    std::string startMenuFolder;
    std::string programsFolder;
    std::string desktopFolder;
    std::string startupFolder;
    std::string sendToFolder;
    std::string commonStartMenuFolder;
    std::string commonProgramsFolder;
    std::string commonDesktopFolder;
    std::string commonStartupFolder;
    // A user install's own folder (%LOCALAPPDATA%\Orvane\): its uninstaller
    // copy, program list and journal, which a machine install keeps in the
    // Windows folder. Empty when the system names no such folder.
    std::string userOwnFolder;
    // The machine's Program Files folder, which a user install's
    // programFilesFolder (the user's programs folder) stands in for.
    std::string machineProgramFilesFolder;

    bool operator==(const MachineFolders&) const = default;
};

// The run's settings, from the start-up: the mode, the working copy of the
// script or record, and what its header says.
struct RunSettings {
    std::string runMode;  // "SETUP" or "UNSETUP"
    // For whom the run installs, or for whom the install it removes was made.
    InstallScope scope = InstallScope::Machine;
    std::string workFolder;
    std::string scriptPath;
    // The setup script, parsed once by the start-up from its working copy;
    // the install reads it from here. Empty in an uninstall.
    SetupScript script;
    std::string topMessageText;
    int32_t setupSpeed = 0;  // milliseconds, at least 1 once the start-up ran
    std::string setupTitle;
    std::string unSetupTitle;
    std::string programId;
    // A log the command line asked for that could not be opened: its path
    // and the system's error code, for the failure report.
    std::string unopenedLog;
    unsigned long unopenedLogError = 0;
    // Where the install keeps its journal; empty: no journal.
    std::string journalPath;
    // An unattended run is all or nothing: an install with any failure is
    // undone, as administrators expect of a failed deployment.
    bool allOrNothing = false;
    // /REPAIR: every file is copied again, whatever the overwrite rules say.
    bool repair = false;
};

// What the install or uninstall settles as it runs: the setup folder and
// the paths made from it, the association restore slots, the restart.
struct InstallResults {
    std::string appFolder;  // the literal "(App)" until a procedure takes the folder box
    std::string setupRoot;  // empty until the install has checked the setup folder
    std::string unSetupPath;
    std::string unSetupBackupPath;
    RestoreSlots restoreRelateSlots;
    uint8_t rebootNeeded = 0;
    // A question of the run had no answer: an unattended run has failed.
    bool answerMissing = false;
    // The start-up undid an install that a killed run left half done.
    bool undidInterruptedRun = false;
    // Where the start-up kept a journal that did not hold together (nothing
    // of it undone); empty when it kept none.
    std::string journalKeptAside;
};

// The log travels with the run: it is open only when the command line asked
// for one, and takes every line either way.
class ProtectedFolders;

struct RunState : MachineFolders, RunSettings, InstallResults {
    RunLog log;
    // The protected folders as ProtectedFolders::OfRun last resolved them,
    // and the machine's folders they were resolved from.
    mutable std::shared_ptr<const ProtectedFolders> protectedFolders;
    mutable MachineFolders protectedFoldersFrom;
};

// The failure report's block for a log that could not be opened, if any.
void ReportUnopenedLog(const RunSettings& run, FailureReport& failures);

// True when the run installs, false when it uninstalls.
inline bool SetupMode(const RunSettings& run)
{
    return run.runMode == "SETUP";
}

// Where the run keeps the uninstaller copy, the program list and the
// journal: the Windows folder, or for a user install the user's own folder.
inline const std::string& OwnFilesFolder(const RunState& run)
{
    return run.scope == InstallScope::User ? run.userOwnFolder : run.windowsFolder;
}

// Where a change waits that a file in use holds back: the system's list
// for an install for all users, the user's own list (finished at the next
// sign-in) for one for the current user, who may not write the system's.
inline WaitingChanges WaitingChangesOf(const RunState& run)
{
    return run.scope == InstallScope::User ? WaitingChanges::AtSignIn(run.userOwnFolder) : WaitingChanges::AtRestart();
}

// The folders behind the location tokens, as the run state holds them now.
LocationTable LocationsOf(const MachineFolders& machine, const InstallResults& install);
inline LocationTable LocationsOf(const RunState& run)
{
    return LocationsOf(run, run);
}
