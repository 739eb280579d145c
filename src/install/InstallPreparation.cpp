#include "install/InstallPreparation.h"

#include "engine/ProtectedFolders.h"
#include "engine/RunState.h"
#include "install/InstallCompletion.h"
#include "record/PreviousRecord.h"
#include "record/UninstallRecord.h"
#include "script/PathParts.h"
#include "script/RelateSection.h"
#include "script/TextCase.h"
#include "script/TextParts.h"
#include "services/FileOps.h"
#include "services/RegistryKeys.h"
#include "services/Win32Registry.h"
#include "text/IniFile.h"

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
    if (CreateFolderPath(run.State().appFolder, run.Changes())) {
        run.Log("Folder made: " + run.State().appFolder);
        run.setupFolderMade = true;
        return Flow::GoOn;
    }
    person.SetupFolderNotCreated();
    return AbandonInstall(person, run, StopCause::Declined, RunEnd::Failed);
}

std::optional<FolderRefusal> RefusalOfPlace(PathFault fault)
{
    switch (fault) {
    case PathFault::None: break;
    case PathFault::Unrepresentable: return FolderRefusal::Unrepresentable;
    case PathFault::NotAbsolute: return FolderRefusal::NotAbsolute;
    case PathFault::TokenLeft: return FolderRefusal::TokenLeft;
    case PathFault::BadCharacter: return FolderRefusal::BadCharacter;
    case PathFault::TooLong: return FolderRefusal::TooLong;
    }
    return std::nullopt;
}

// The name another program's record in `folder` goes by: its Add/Remove
// entry's name, else its uninstall title, else its key. Nothing when the
// folder holds no record, a record without an entry, or this program's.
std::optional<std::string> OtherProductIn(const std::string& folder, const RunState& state)
{
    const std::string record = folder + "UNSETUP.INI";
    if (IsSetupOnly(state.unSetupTitle) || !FileExists(record)) return std::nullopt;
    const std::string key = ReadProfile("UnSetupRegistryKey", "Key", "", record);
    if (key.empty() || SameUpperCased(key, UninstallListKey + state.script.header.addRemoveKey)) return std::nullopt;
    const RegKey entry = OpenRegKey(UninstallEntryRoot(state.scope), key);
    std::string name = entry ? ReadRegString(entry.Get(), "DisplayName") : std::string();
    if (name.empty()) name = ReadProfile("Title", "UnSetup", "", record);
    return name.empty() ? FileNamePart(key) : name;
}

}  // namespace

bool IsUsableSetupFolder(const std::string& folder)
{
    return FaultOfPath(WithTrailingBackslash(folder)) == PathFault::None;
}

std::optional<SetupFolderRefusal> SetupFolderRefusalOf(const std::string& typed, const RunState& state)
{
    const std::string folder = WithTrailingBackslash(typed);
    if (const std::optional<FolderRefusal> place = RefusalOfPlace(FaultOfPath(folder)))
        return SetupFolderRefusal{*place, {}};
    if (ProtectedFolders::OfRun(state).RefusesAsSetupFolder(folder))
        return SetupFolderRefusal{FolderRefusal::SystemPlace, {}};
    if (const std::optional<std::string> other = OtherProductIn(folder, state))
        return SetupFolderRefusal{FolderRefusal::OtherProduct, *other};
    return std::nullopt;
}

Flow CheckSetupFolder(SetupCallback& person, InstallRun& run)
{
    if (ShowStatusAndPoll(person, {Status::CheckingSetupFolder}) == Flow::Stop) return Flow::Stop;
    // From here on "(App)" stands for the setup folder and "(Set)" for its drive.
    run.State().appFolder = WithTrailingBackslash(run.choices.setupFolder);
    if (const std::optional<SetupFolderRefusal> refusal = SetupFolderRefusalOf(run.State().appFolder, run.State())) {
        person.SetupFolderRefused(run.State().appFolder, *refusal);
        return AbandonInstall(person, run, StopCause::Declined, RunEnd::Failed);
    }
    if (!FolderExists(run.State().appFolder) && CreateMissingSetupFolder(person, run) == Flow::Stop) return Flow::Stop;
    run.State().setupRoot = LeftStr(run.State().appFolder, 2) + "\\";
    run.State().unSetupPath = run.State().appFolder + "UNSETUP.INI";
    run.State().unSetupBackupPath = run.State().workFolder + "UNSETUPB.INI";
    LoadPreviousRecord(run.State().unSetupPath, run.State().unSetupBackupPath, run.lists, run.State().restoreRelateSlots,
                       run.Changes());
    // A reinstall keeps what the first install's record says of the folder.
    if (FileExists(run.State().unSetupBackupPath) && RecordedSetupFolderMade(run.State().unSetupBackupPath))
        run.setupFolderMade = true;
    person.AllowAbort(true);
    return Flow::GoOn;
}
