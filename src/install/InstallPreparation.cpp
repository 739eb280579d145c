#include "install/InstallPreparation.h"

#include "engine/RunState.h"
#include "install/RelateSection.h"
#include "services/FileOps.h"
#include "text/PathParts.h"
#include "text/StrOp.h"
#include "record/PreviousRecord.h"

Flow StartInstall(SetupCallback& person, InstallRun& run)
{
    TheRun.RebootNeeded = 0;
    run.Choices = person.TakeInstallChoices();
    person.RunStarting(RunKind::Install);
    person.ShowStatus({Status::InstallStarting});
    return Flow::GoOn;
}

Flow ReadAssociationTable(SetupCallback& person, InstallRun& run)
{
    person.ShowStatus({Status::ReadingInformation});
    run.RelateTable = ReadRelateTable(TheRun.ScriptPath);
    person.StepDone();
    return Flow::GoOn;
}

namespace {

// Asks before creating a setup folder that does not exist; declining, or a
// folder that cannot be created, ends the install before anything is made.
Flow CreateMissingSetupFolder(SetupCallback& person, InstallRun& run)
{
    if (!person.CreateSetupFolder(TheRun.AppFolder))
        return AbandonInstall(person, run, StopCause::Declined, RunEnd::Cancelled);
    if (CreateFolderPath(TheRun.AppFolder)) return Flow::GoOn;
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
    TheRun.AppFolder = WithTrailingBackslash(run.Choices.setupFolder);
    if (!IsUsableSetupFolder(TheRun.AppFolder)) {
        person.SetupFolderRefused(TheRun.AppFolder);
        return AbandonInstall(person, run, StopCause::Declined, RunEnd::Failed);
    }
    if (!FolderExists(TheRun.AppFolder) && CreateMissingSetupFolder(person, run) == Flow::Stop) return Flow::Stop;
    TheRun.SetupRoot = LeftStr(TheRun.AppFolder, 2) + "\\";
    TheRun.UnSetupPath = TheRun.AppFolder + "UNSETUP.INI";
    TheRun.UnSetupBackupPath = TheRun.WorkFolder + "UNSETUPB.INI";
    LoadPreviousRecord(TheRun.UnSetupPath, TheRun.UnSetupBackupPath, run.Lists, TheRun.RestoreRelateSlots);
    person.AllowAbort(true);
    return Flow::GoOn;
}
