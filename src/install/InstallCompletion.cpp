#include "install/InstallCompletion.h"

#include "engine/RunState.h"
#include "install/InstallFlow.h"
#include "install/UninstallEntry.h"
#include "record/SetupFolderList.h"
#include "record/UninstallRecord.h"
#include "script/LocationTokens.h"
#include "script/PathParts.h"
#include "script/TextCase.h"
#include "script/ValueFields.h"
#include "services/ChangeJournal.h"
#include "services/FileFacts.h"
#include "services/FileOps.h"
#include "services/LocalDate.h"
#include "services/PendingReplacement.h"
#include "services/ProgramLauncher.h"
#include "services/RegistryKeys.h"
#include "services/SetupError.h"
#include "services/SystemErrorText.h"
#include "text/IniFile.h"

#include <windows.h>


namespace {

std::string UninstallerPath(const InstallRun& run)
{
    return OwnFilesFolder(run.State()) + "UNOVSET.EXE";
}

// The uninstaller is this program: the distribution's SETUP.EXE, whatever
// the running copy is called. It is shared by every program installed with
// it, so an older SETUP.EXE never replaces a newer uninstaller. One that is
// running (or that another program holds) is replaced at the next restart,
// like any installed file in use.
void CopyUninstaller(InstallRun& run)
{
    const std::string uninstaller = UninstallerPath(run);
    const std::string setup = run.State().sourceFolder + "SETUP.EXE";
    if (!IsNewer(setup, uninstaller)) return;
    const CopyOutcome copied = CopyOrReplaceAtRestart(setup, uninstaller, FileExists(uninstaller), run.Changes(),
                                                      WaitingChangesOf(run.State()));
    if (copied.error != 0) {
        run.failures.AddSystemError(FailureTag::SetupFile, uninstaller, copied.error);
        run.Log(WithSystemError("Uninstaller not copied: " + uninstaller, copied.error));
    } else if (!copied.atRestart.empty()) {
        run.State().rebootNeeded = 1;
        run.Log(ReplacedAtRestartLine(uninstaller, copied.atRestart, WaitingChangesOf(run.State())));
    } else {
        run.Log("Uninstaller copied: " + uninstaller);
    }
}

UninstallRecordInput RecordInput(const InstallRun& run)
{
    return {run.State().unSetupPath, run.State().workFolder, run.Script().header.unSetupOption, run.State().unSetupTitle,
            run.State().appFolder, run.setupFolderMade, run.State().scope};
}

// The distribution's SETUP.EXE with /REPAIR. A distribution in the temporary
// folder (a one-file package unpacks there and removes it when the install
// ends) will not be there to repair from: no command then, and NoRepair = 1.
std::string RepairCommand(const RunState& state)
{
    if (state.tempFolder != state.sourceFolder && StartsWithText(state.sourceFolder, state.tempFolder)) return {};
    return "\"" + state.sourceFolder + "SETUP.EXE\" /REPAIR";
}

// The Add/Remove Programs entry starts the uninstaller on the record; its key
// path goes into the record before the entry is made.
void RegisterUninstallEntry(InstallRun& run)
{
    const RunState& state = run.State();
    const ScriptHeader& header = run.Script().header;
    ProductFacts product = run.Script().product;
    product.icon = ExpandTokens(product.icon, LocationsOf(state));
    const UninstallEntryValues values{
        header.addRemoveName,
        UninstallerPath(run) + " \"" + state.unSetupPath + "\"",
        product,
        UninstallerPath(run),
        WithoutTrailingBackslash(state.appFolder),
        InstalledKilobytes(run.lists.deleteFileList),
        LocalDate(""),
        RepairCommand(state),
    };
    const std::string keyPath = UninstallListKey + header.addRemoveKey;
    WriteUnSetupRegistryKey(run.State().unSetupPath, keyPath);
    // Nothing after this step depends on the entry: an entry that the
    // registry refuses is reported with the rest, and the install completes.
    const std::string entry = UninstallEntryRootName(state.scope) + "\\" + keyPath;
    try {
        WriteUninstallEntry(UninstallEntryRoot(state.scope), keyPath, values, run.Changes());
        run.Log("Add/Remove entry written: " + entry);
    } catch (const SetupError& error) {
        const bool key = error.WhatWasDone() == SetupError::Action::CreatingKey;
        const StatedReason reason{key ? FailureReason::KeyNotCreated : FailureReason::ValueNotWritten, error.Subject()};
        run.failures.Add({FailureTag::SetupFile, entry, reason});
        run.Log("Add/Remove entry not written: " + entry + ": " + ReasonText(reason));
    }
}

// The step the record writer is at: one list after the other, then the
// association slots.
Status RecordingStatusOf(std::optional<RecordList> list)
{
    if (!list) return Status::RecordingAssociations;
    switch (*list) {
    case RecordList::DeleteFolderList: return Status::RecordingFolders;
    case RecordList::DeleteFileList: return Status::RecordingFiles;
    case RecordList::DeleteShortCutList: return Status::RecordingShortcuts;
    case RecordList::DeleteRegistryList: return Status::RecordingRegistryKeys;
    case RecordList::AddDeleteFileList: break;
    }
    return Status::RecordingExtraFiles;
}

// Without its record an install can never be removed: with a journal it is
// undone, and the person learns why from the failure report.
Flow UndoForMissingRecord(InstallRun& run, SetupCallback& person, unsigned long error)
{
    run.failures.AddSystemError(FailureTag::SetupFile, run.State().unSetupPath, error);
    run.failures.AddReason(FailureTag::SetupFile, run.State().unSetupPath, FailureReason::RecordNotWrittenUndone);
    UndoInstall(person, run);
    OfferFailures(person, RunKind::Install, run.failures, run.State().log);
    return AbandonInstall(person, run, StopCause::Fatal, RunEnd::Failed);
}

Flow WriteRecordAndEntry(InstallRun& run, SetupCallback& person)
{
    JournalFileBeforeWriting(run.Changes(), run.State().unSetupPath);
    const unsigned long error =
        WriteUninstallRecord(RecordInput(run), run.lists, run.State().restoreRelateSlots,
                             [&](std::optional<RecordList> list) { person.ShowStatus({RecordingStatusOf(list)}); });
    run.recordWritten = error == 0;
    run.Log(error == 0 ? "Record written: " + run.State().unSetupPath
                       : WithSystemError("Record not written: " + run.State().unSetupPath, error));
    if (error != 0 && run.journal && !run.journalSettled) return UndoForMissingRecord(run, person, error);
    if (error != 0) {
        run.failures.AddSystemError(FailureTag::SetupFile, run.State().unSetupPath, error);
        // Without its record this install can never be removed by the
        // uninstaller: the person must know, and know what stays.
        run.failures.AddReason(FailureTag::SetupFile, run.State().unSetupPath, FailureReason::RecordNotWrittenKept,
                               run.State().appFolder);
    }
    // A record that could not be written leaves the earlier one in place; with
    // none, no stub record and no entry pointing at nothing are made.
    if (!FileExists(run.State().unSetupPath)) return Flow::GoOn;
    RegisterUninstallEntry(run);
    WriteProgramId(run.State().unSetupPath, run.State().programId);
    return Flow::GoOn;
}

// Tokens are expanded in the whole entry first; everything after its first
// comma is the parameters.
void StartProgramAfterSetup(SetupCallback& person, const InstallRun& run, const std::string& entry)
{
    const SplitText parts = SplitAtFirst(ExpandTokens(entry, LocationsOf(run.State())), ",");
    if (OpenWithShell(parts.before, parts.after) <= 32) person.ProgramNotStarted();
}

}  // namespace

Flow RegisterUninstaller(InstallRun& run, SetupCallback& person)
{
    person.ShowStatus({Status::UpdatingRecord});
    person.AllowAbort(false);
    CopyUninstaller(run);
    RememberSetupFolder(OwnFilesFolder(run.State()), run.State().programId, run.State().appFolder, run.Changes());
    if (IsSetupOnly(run.State().unSetupTitle)) return Flow::GoOn;
    return WriteRecordAndEntry(run, person);
}

void FinishInstall(InstallRun& run, SetupCallback& person)
{
    OfferFailures(person, RunKind::Install, run.failures, run.State().log);
    // Exact, letter case included: any other spelling names a program.
    const std::string& execute = run.Script().executeFile;
    if (execute == RebootRequest) {
        // The restart offer at the end of the process takes the place of the
        // completion message.
        run.State().rebootNeeded = 1;
    } else {
        person.InstallCompleted(!IsSetupOnly(run.State().unSetupTitle) && run.recordWritten);
        if (!execute.empty() && run.choices.startProgram) StartProgramAfterSetup(person, run, execute);
    }
    person.FinishRun();
}

Flow CompleteInstall(InstallRun& run, SetupCallback& person)
{
    if (RegisterUninstaller(run, person) == Flow::Stop) return Flow::Stop;
    FinishInstall(run, person);
    return Flow::GoOn;
}
