#include "uninstall/RunUninstall.h"

#include "engine/RunState.h"
#include "install/InstallFlow.h"
#include "record/SetupFolderList.h"
#include "record/UninstallRecord.h"
#include "services/SharedComponents.h"
#include "text/IniFile.h"
#include "text/NumberedList.h"
#include "text/Unicode.h"
#include "uninstall/RecordedRemovals.h"
#include "uninstall/RegistryRestore.h"
#include "uninstall/SetupFolderRemoval.h"
#include "uninstall/UninstallCompletion.h"
#include "uninstall/UninstallRun.h"

#include <windows.h>

#include <optional>

namespace {

// The person's choices, frozen: everything below the setup folder, or the
// patterns cleared from the setup folder's folders before they go.
std::string TakeChoices(UninstallRun& run, SetupCallback& person)
{
    const UninstallChoices choices = person.TakeUninstallChoices();
    run.deleteAllAsked = choices.deleteAll;
    if (choices.iniFiles) run.patterns += "*.INI|";
    if (choices.helpIndexes) run.patterns += "*.GID|";
    return choices.setupFolder;
}

// What the uninstall needs of the run state besides the record.
void TakeMachineFolders(UninstallRun& run, const RunState& state)
{
    run.record = state.scriptPath;
    run.appFolder = state.appFolder;
    run.components = {state.windowsFolder, state.systemFolder, state.scope == InstallScope::Machine};
    run.waiting = WaitingChangesOf(state);
    run.shortcutHomes = {state.programsFolder,       state.desktopFolder,       state.startupFolder,
                         state.sendToFolder,         state.commonProgramsFolder, state.commonDesktopFolder,
                         state.commonStartupFolder};
    run.protectedFolders = ProtectedFolders::OfRun(state);
    run.scope = DeletionScope(run.appFolder, ReadNumberedList("DeleteFolder", "Folder", run.record), run.protectedFolders);
}

// Delete-all takes everything below the setup folder only when the install
// made it and it is no place of the system or the user: a folder that was
// there before (a tools folder, a drive's root, the user's documents)
// keeps what the install did not put there, and only what the record lists
// goes from it.
void DecideDeleteAll(UninstallRun& run)
{
    if (!run.deleteAllAsked) return;
    if (run.protectedFolders.RefusesAsSetupFolder(run.appFolder)) {
        run.Log("Delete-all not done: " + run.appFolder +
                " is a folder of the system or the user, or lies inside one; only what the record lists goes");
        return;
    }
    if (!RecordedSetupFolderMade(run.record)) {
        run.Log("Delete-all not done: the install did not make " + run.appFolder +
                "; only what the record lists goes from it");
        return;
    }
    run.deleteAll = true;
}

// A setup folder that is empty, or no absolute path (a record without one
// reaches here as "\", the root of whatever drive is current), names no
// folder of the install: nothing may be removed on its account.
bool RefuseUnknownSetupFolder(SetupCallback& person, const std::string& folder)
{
    if (IsAbsoluteFolder(folder)) return false;
    person.SetupFolderUnknown();
    return true;
}

}  // namespace

RunOutcome RunUninstall(SetupCallback& person, RunState& state)
{
    UninstallRun run;
    run.log = &state.log;
    // A user install's components unregister themselves from the user's classes.
    std::optional<UserClassesOverride> userClasses;
    if (state.scope == InstallScope::User) userClasses.emplace();
    ReportUnopenedLog(state, run.failures);
    state.appFolder = TakeChoices(run, person);
    person.RunStarting(RunKind::Uninstall);
    person.ShowStatus({Status::Uninstalling});

    if (RefuseUnknownSetupFolder(person, state.appFolder)) {
        // Nothing else can be done, and the progress window cannot be
        // closed: the run ends as a finished one does.
        person.EndRun();
        return {RunEnd::Failed, false};
    }
    TakeMachineFolders(run, state);
    DecideDeleteAll(run);

    state.programId = ReadProfile("ProgramID", "ID", "", run.record);
    ForgetProgram(OwnFilesFolder(state), state.programId);
    // The setup folder must not be held open as this process's current one.
    SetCurrentDirectoryW(WideFromShiftJis(state.tempFolder).c_str());

    RemoveRecordedFiles(run, person);
    RemoveRecordedShortcuts(run);
    RemoveRecordedFolders(run);
    RemoveRecordedRegistryKeys(run.record, state.log);
    RestoreAssociations(run.record, state.log);
    RemoveUninstallEntry(run.record, state.log);
    RemoveSetupFolder(run);

    OfferFailures(person, RunKind::Uninstall, run.failures, state.log);
    CompleteUninstall(person);
    // Files left to the restart are removed only once Windows restarts: the
    // end of the run offers it, as after an install that asks for it.
    const bool restartNeeded = !run.leftForRestart.empty();
    if (restartNeeded) state.rebootNeeded = 1;
    return {run.failures.Empty() ? RunEnd::Completed : RunEnd::CompletedWithFailures, restartNeeded};
}
