#include "uninstall/RunUninstall.h"

#include "engine/RunState.h"
#include "text/IniFile.h"
#include "install/InstallFlow.h"
#include "text/NumberedList.h"
#include "uninstall/RecordedRemovals.h"
#include "uninstall/RegistryRestore.h"
#include "record/SetupFolderList.h"
#include "uninstall/SetupFolderRemoval.h"
#include "uninstall/UninstallCompletion.h"
#include "uninstall/UninstallRun.h"

#include <windows.h>

namespace {

// The person's choices, frozen: everything below the setup folder, or the
// patterns cleared from the setup folder's folders before they go.
std::string TakeChoices(UninstallRun& run, SetupCallback& person)
{
    const UninstallChoices choices = person.TakeUninstallChoices();
    run.DeleteAll = choices.deleteAll;
    if (choices.iniFiles) run.Patterns += "*.INI|";
    if (choices.helpIndexes) run.Patterns += "*.GID|";
    return choices.setupFolder;
}

// What the uninstall needs of the run state besides the record.
void TakeMachineFolders(UninstallRun& run, const RunState& state)
{
    run.Record = state.ScriptPath;
    run.AppFolder = state.AppFolder;
    run.Components = {state.WindowsFolder, state.SystemFolder};
    run.ShortcutHomes = {state.ProgramsFolder,       state.DesktopFolder,       state.StartupFolder,
                         state.SendToFolder,         state.CommonProgramsFolder, state.CommonDesktopFolder,
                         state.CommonStartupFolder};
    run.Protected = ProtectedFolders::OfThisMachine(state);
    run.Scope = DeletionScope(run.AppFolder, ReadNumberedList("DeleteFolder", "Folder", run.Record), run.Protected);
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
    state.AppFolder = TakeChoices(run, person);
    person.RunStarting(RunKind::Uninstall);
    person.ShowStatus({Status::Uninstalling});

    if (RefuseUnknownSetupFolder(person, state.AppFolder)) {
        // Nothing else can be done, and the progress window cannot be
        // closed: the run ends as a finished one does.
        person.EndRun();
        return {RunEnd::Failed, false};
    }
    TakeMachineFolders(run, state);

    state.ProgramId = ReadProfile("ProgramID", "ID", "", run.Record);
    ForgetProgram(state.WindowsFolder, state.ProgramId);
    // The setup folder must not be held open as this process's current one.
    SetCurrentDirectoryA(state.TempFolder.c_str());

    RemoveRecordedFiles(run, person);
    RemoveRecordedShortcuts(run);
    RemoveRecordedFolders(run);
    RemoveRecordedRegistryKeys(run.Record);
    RestoreAssociations(run.Record);
    RemoveUninstallEntry(run.Record);
    RemoveSetupFolder(run);

    OfferFailures(person, RunKind::Uninstall, run.Failures);
    CompleteUninstall(person);
    return {run.Failures.Empty() ? RunEnd::Completed : RunEnd::CompletedWithFailures, false};
}
