#include "install/InstallPreparation.h"

#include "engine/RunState.h"
#include "record/PreviousRecord.h"
#include "script/PathParts.h"
#include "script/RelateSection.h"
#include "script/TextParts.h"
#include "services/FileOps.h"

Flow StartInstall(SetupCallback& person, InstallRun& run)
{
    run.State().rebootNeeded = 0;
    run.choices = person.TakeInstallChoices();
    person.RunStarting(RunKind::Install);
    person.ShowStatus({Status::InstallStarting});
    return Flow::GoOn;
}

Flow ReadAssociationTable(SetupCallback& person, InstallRun& run)
{
    person.ShowStatus({Status::ReadingInformation});
    run.relateTable = run.Script().relate;
    person.StepDone();
    return Flow::GoOn;
}

namespace {

// Asks before creating a setup folder that does not exist; declining, or a
// folder that cannot be created, ends the install before anything is made.
Flow CreateMissingSetupFolder(SetupCallback& person, InstallRun& run)
{
    if (!person.CreateSetupFolder(run.State().appFolder))
        return AbandonInstall(person, run, StopCause::Declined, RunEnd::Cancelled);
    if (CreateFolderPath(run.State().appFolder)) {
        run.Log("Folder made: " + run.State().appFolder);
        return Flow::GoOn;
    }
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
    run.State().appFolder = WithTrailingBackslash(run.choices.setupFolder);
    if (!IsUsableSetupFolder(run.State().appFolder)) {
        person.SetupFolderRefused(run.State().appFolder);
        return AbandonInstall(person, run, StopCause::Declined, RunEnd::Failed);
    }
    if (!FolderExists(run.State().appFolder) && CreateMissingSetupFolder(person, run) == Flow::Stop) return Flow::Stop;
    run.State().setupRoot = LeftStr(run.State().appFolder, 2) + "\\";
    run.State().unSetupPath = run.State().appFolder + "UNSETUP.INI";
    run.State().unSetupBackupPath = run.State().workFolder + "UNSETUPB.INI";
    LoadPreviousRecord(run.State().unSetupPath, run.State().unSetupBackupPath, run.lists, run.State().restoreRelateSlots);
    person.AllowAbort(true);
    return Flow::GoOn;
}
