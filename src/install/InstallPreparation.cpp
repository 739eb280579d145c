#include "install/InstallPreparation.h"

#include "engine/RunState.h"
#include "install/RelateSection.h"
#include "services/FileOps.h"
#include "text/PathParts.h"
#include "text/StrOp.h"
#include "record/PreviousRecord.h"

Flow StartInstall(SetupCallback& person, InstallRun& run)
{
    run.State().RebootNeeded = 0;
    run.Choices = person.TakeInstallChoices();
    person.RunStarting(RunKind::Install);
    person.ShowStatus({Status::InstallStarting});
    return Flow::GoOn;
}

Flow ReadAssociationTable(SetupCallback& person, InstallRun& run)
{
    person.ShowStatus({Status::ReadingInformation});
    run.RelateTable = ReadRelateTable(run.State().ScriptPath);
    person.StepDone();
    return Flow::GoOn;
}

namespace {

// Asks before creating a setup folder that does not exist; declining, or a
// folder that cannot be created, ends the install before anything is made.
Flow CreateMissingSetupFolder(SetupCallback& person, InstallRun& run)
{
    if (!person.CreateSetupFolder(run.State().AppFolder))
        return AbandonInstall(person, run, StopCause::Declined, RunEnd::Cancelled);
    if (CreateFolderPath(run.State().AppFolder)) return Flow::GoOn;
    person.SetupFolderNotCreated();
    return AbandonInstall(person, run, StopCause::Declined, RunEnd::Failed);
}

}  // namespace

bool IsUsableSetupFolder(const std::string& folder)
{
    return FaultOfPath(WithTrailingBackslash(folder)) == PathFault::None;
}

Flow CheckSetupFolder(SetupCallback& person, InstallRun& run)
{
    if (ShowStatusAndPoll(person, {Status::CheckingSetupFolder}) == Flow::Stop) return Flow::Stop;
    // From here on "(App)" stands for the setup folder and "(Set)" for its drive.
    run.State().AppFolder = WithTrailingBackslash(run.Choices.setupFolder);
    if (!IsUsableSetupFolder(run.State().AppFolder)) {
        person.SetupFolderRefused(run.State().AppFolder);
        return AbandonInstall(person, run, StopCause::Declined, RunEnd::Failed);
    }
    if (!FolderExists(run.State().AppFolder) && CreateMissingSetupFolder(person, run) == Flow::Stop) return Flow::Stop;
    run.State().SetupRoot = LeftStr(run.State().AppFolder, 2) + "\\";
    run.State().UnSetupPath = run.State().AppFolder + "UNSETUP.INI";
    run.State().UnSetupBackupPath = run.State().WorkFolder + "UNSETUPB.INI";
    LoadPreviousRecord(run.State().UnSetupPath, run.State().UnSetupBackupPath, run.Lists, run.State().RestoreRelateSlots);
    person.AllowAbort(true);
    return Flow::GoOn;
}
