#include "app/UnattendedCallback.h"

#include "app/RunStart.h"
#include "app/StatusTexts.h"
#include "script/PathParts.h"
#include "script/TextCase.h"
#include "services/FileOps.h"
#include "windows/MessagePump.h"

namespace {

// The first line of a status text: the step without its path.
std::string FirstLine(const std::string& text)
{
    return text.substr(0, text.find('\r'));
}

const char* RegistrationFailureText(RegistrationFailure failure)
{
    switch (failure) {
    case RegistrationFailure::NotLoaded: return "could not be loaded";
    case RegistrationFailure::NoRegisterEntry: return "has no DllRegisterServer entry";
    case RegistrationFailure::RegisterFailed: break;
    }
    return "DllRegisterServer failed";
}

std::string SetupFolderRefusalReason(const SetupFolderRefusal& refusal)
{
    switch (refusal.reason) {
    case FolderRefusal::NotAbsolute: break;
    case FolderRefusal::TokenLeft: return "it holds a token such as (App) that nothing replaced";
    case FolderRefusal::BadCharacter: return "it holds a character that no folder name may hold";
    case FolderRefusal::TooLong: return "it is longer than the system's path limit";
    case FolderRefusal::Unrepresentable: return "it holds a character that Shift-JIS cannot hold";
    case FolderRefusal::SystemPlace:
        return "it is a folder of the system or the user (a drive's root, the Windows or Program Files folder, "
               "the profile, AppData, the Start menu) or lies inside the Windows folder or a document folder";
    case FolderRefusal::OtherProduct:
        return "another program is installed there (" + refusal.otherProduct + "); choose a folder of its own";
    }
    return "a folder must start with a drive (C:\\) or a share";
}

// Where `orvauthor layout` puts disk `number`: the folder DISK<number> beside
// the first disk's folder, when that one is named DISK1. Any other first
// folder holds every disk's files itself.
std::string LaidOutDiskFolder(const std::string& firstDisk, int number)
{
    const std::string first = WithoutTrailingBackslash(firstDisk);
    if (AsciiUpper(FileNamePart(first)) != "DISK1") return firstDisk;
    return FolderPart(first) + "DISK" + std::to_string(number) + "\\";
}

}  // namespace

UnattendedCallback::UnattendedCallback(const RunOptions& options, RunState& state, std::string setupFolder,
                                       ProgressWindow* progress)
    : options_(options), state_(state), setupFolder_(std::move(setupFolder)), progress_(progress)
{
}

// The boxes as the settings screen offers them, untouched: newer files
// replace older ones, and every shortcut is made unless /NOICONS clears the
// four shortcut boxes.
InstallChoices UnattendedCallback::TakeInstallChoices()
{
    const bool shortcuts = !options_.noIcons;
    InstallChoices choices{setupFolder_, true, shortcuts, shortcuts, shortcuts, shortcuts};
    choices.startProgram = false;
    return choices;
}

UninstallChoices UnattendedCallback::TakeUninstallChoices()
{
    const UninstallOffer offer = ReadUninstallOffer(state_);
    return {setupFolder_, offer.deleteAllForm, offer.IniFiles(), offer.HelpIndexes()};
}

void UnattendedCallback::RunStarting(RunKind kind)
{
    Log(kind == RunKind::Install ? "Install started" : "Uninstall started");
    if (progress_ == nullptr) return;
    progress_->Show();
    ProcessMessages();
}

// Each step's first line goes to the log, once for a row of items; the
// steps of single files, folders and shortcuts are logged by the
// procedures with their outcome.
void UnattendedCallback::ShowStatus(const StatusStep& step)
{
    const std::string text = StatusText(step);
    switch (step.status) {
    case Status::CreatingFolder:
    case Status::SkippingMissingSource:
    case Status::Copying:
    case Status::CreatingShortcut: break;
    default:
        if (step.status != lastLogged_) Log("Step: " + FirstLine(text));
        lastLogged_ = step.status;
        break;
    }
    if (progress_ == nullptr) return;
    progress_->messageLabel.SetText(text);
    ProcessMessages();
}

void UnattendedCallback::ShowCopyProgress(bool shown)
{
    if (progress_ != nullptr) progress_->progressFrame.SetVisible(shown);
}

void UnattendedCallback::CopyProgressed(const CopyProgress& progress)
{
    if (progress_ == nullptr) return;
    progress_->progressBar.SetPosition(progress.percent);
    progress_->progressLabel.SetText(ProgressCountText(progress_->progressBar.Position(), progress));
    ProcessMessages();
}

bool UnattendedCallback::Answerable(const std::string& question, const std::string& answer)
{
    if (options_.suppressMessageBoxes) {
        Log("Question: " + question + " -> " + answer);
        return true;
    }
    Log("Question: " + question + " -> no answer without /SUPPRESSMSGBOXES: the run fails");
    unanswered_ = true;
    state_.answerMissing = true;
    return false;
}

// Without its journal a failed install could not be undone, and its 1603
// would no longer mean that nothing of it stayed: it stops before its first
// change.
bool UnattendedCallback::GoOnWithoutJournal(const std::string& journalPath)
{
    Log("Error: no journal could be made (" + journalPath + "): nothing was changed, since a failed install could "
        "not be undone");
    return false;
}

bool UnattendedCallback::CreateSetupFolder(const std::string& folder)
{
    return Answerable("the setup folder " + folder + " does not exist", "created");
}

void UnattendedCallback::SetupFolderNotCreated()
{
    Log("Error: the setup folder could not be created");
}

void UnattendedCallback::SetupFolderRefused(const std::string& folder, const SetupFolderRefusal& refusal)
{
    Log("Error: no setup is possible in " + folder + ": " + SetupFolderRefusalReason(refusal));
}

// Short of space the run stops; when the system cannot tell the free
// space, it goes on and any copy that fails is reported.
bool UnattendedCallback::ContinueShortOfSpace(bool freeSpaceKnown, int64_t neededBytes)
{
    if (freeSpaceKnown) {
        Answerable("not enough free space for " + std::to_string(neededBytes) + " bytes", "stop");
        return false;
    }
    return Answerable("the free space is unknown; " + std::to_string(neededBytes) + " bytes are needed", "go on");
}

// The disk needs no person when it lies where the layout puts it; asked a
// second time for the same disk, its files are not there.
bool UnattendedCallback::InsertDisk(int number, std::string& diskFolder)
{
    const std::string folder = LaidOutDiskFolder(state_.sourceFolder, number);
    if (diskFolder == folder && lastDisk_ == number) {
        Log("Error: the files of disk " + std::to_string(number) + " are not in " + folder);
        unanswered_ = true;
        state_.answerMissing = true;
        return false;
    }
    lastDisk_ = number;
    if (!FolderExists(folder)) {
        Log("Error: disk " + std::to_string(number) + " is not in " + folder);
        unanswered_ = true;
        state_.answerMissing = true;
        return false;
    }
    Log("Disk " + std::to_string(number) + ": " + folder);
    diskFolder = folder;
    return true;
}

bool UnattendedCallback::Overwrite(const std::string& path)
{
    Answerable(path + " exists (overwrite off)", "kept");
    return false;
}

bool UnattendedCallback::Associate(const std::string& extension, const std::string& program)
{
    return Answerable("associate *." + extension + " with " + program, "yes");
}

void UnattendedCallback::RegistrationFailed(const std::string& path, RegistrationFailure failure)
{
    Log("Registration failed: " + path + " " + RegistrationFailureText(failure));
}

void UnattendedCallback::ProgramNotStarted()
{
    Log("Error: the program to start after the setup did not start");
}

void UnattendedCallback::SetupFolderUnknown()
{
    Log("Error: the record names no setup folder; the uninstall cannot go on");
}

bool UnattendedCallback::DeleteWithCaution(const std::string& path)
{
    Answerable("delete " + path + " (the record asks first)", "kept");
    return false;
}

bool UnattendedCallback::DeleteUncountedComponent(const std::string& path)
{
    Answerable("delete the component " + path + " that no program counts", "kept");
    return false;
}

SharedFileAnswer UnattendedCallback::AskSharedFile(const std::string& path)
{
    Answerable("delete the shared file " + path + " that no program uses any more", "kept");
    return SharedFileAnswer::Keep;
}

void UnattendedCallback::InstallCompleted(bool pointToAddRemove)
{
    Log(pointToAddRemove ? "Install completed; it can be removed from Apps & Features" : "Install completed");
}

void UnattendedCallback::UninstallCompleted()
{
    Log("Uninstall completed");
}

void UnattendedCallback::Abandon(StopCause cause)
{
    Log(cause == StopCause::Fatal ? "Setup stopped: it cannot go on" : "Setup stopped: declined");
    EndRun();
}

void UnattendedCallback::CloseProgress()
{
    if (progress_ != nullptr) progress_->Hide();
}
