#include "support/RecordingCallback.h"

#include <iterator>

RecordingCallback& RecordingCallback::Answer(bool yes)
{
    answers_.push_back(yes);
    return *this;
}

RecordingCallback& RecordingCallback::AnswerShared(SharedFileAnswer answer)
{
    sharedAnswers_.push_back(answer);
    return *this;
}

InstallChoices RecordingCallback::TakeInstallChoices()
{
    calls.push_back("TakeInstallChoices");
    return installChoices;
}

UninstallChoices RecordingCallback::TakeUninstallChoices()
{
    calls.push_back("TakeUninstallChoices");
    return uninstallChoices;
}

void RecordingCallback::RunStarting(RunKind kind)
{
    calls.push_back(kind == RunKind::Install ? "RunStarting Install" : "RunStarting Uninstall");
}

void RecordingCallback::ShowStatus(const StatusStep& step)
{
    std::string line = "Status " + StatusName(step.status);
    if (!step.path.empty()) line += " " + step.path;
    if (!step.link.empty()) line += " -> " + step.link;
    calls.push_back(line);
}

bool RecordingCallback::AbortRequested()
{
    return abortAfter_ >= 0 && polls_++ >= abortAfter_;
}

void RecordingCallback::AllowAbort(bool allowed)
{
    calls.push_back(allowed ? "AllowAbort" : "ForbidAbort");
}

void RecordingCallback::ShowCopyProgress(bool shown)
{
    calls.push_back(shown ? "ShowCopyProgress" : "HideCopyProgress");
}

bool RecordingCallback::ContinueShortOfSpace(bool freeSpaceKnown, int64_t neededBytes)
{
    return Ask("ContinueShortOfSpace " + std::string(freeSpaceKnown ? "known " : "unknown ") +
               std::to_string(neededBytes));
}

bool RecordingCallback::Associate(const std::string& extension, const std::string& program)
{
    return Ask("Associate " + extension + " " + program);
}

void RecordingCallback::RegistrationFailed(const std::string& path, RegistrationFailure failure)
{
    const char* what = failure == RegistrationFailure::NotLoaded         ? "NotLoaded"
                       : failure == RegistrationFailure::NoRegisterEntry ? "NoRegisterEntry"
                                                                          : "RegisterFailed";
    calls.push_back("RegistrationFailed " + path + " " + what);
}

SharedFileAnswer RecordingCallback::AskSharedFile(const std::string& path)
{
    calls.push_back("AskSharedFile " + path);
    if (sharedAnswers_.empty()) return SharedFileAnswer::Keep;
    const SharedFileAnswer answer = sharedAnswers_.front();
    sharedAnswers_.pop_front();
    return answer;
}

bool RecordingCallback::OfferFailureReport(RunKind kind)
{
    return Ask(kind == RunKind::Install ? "OfferFailureReport Install" : "OfferFailureReport Uninstall");
}

void RecordingCallback::ShowFailureReport(RunKind, const FailureReport& shown)
{
    calls.push_back("ShowFailureReport");
    report = shown.Text();
}

void RecordingCallback::InstallCompleted(bool pointToAddRemove)
{
    calls.push_back(pointToAddRemove ? "InstallCompleted AddRemove" : "InstallCompleted");
}

void RecordingCallback::Abandon(StopCause cause)
{
    calls.push_back(cause == StopCause::Fatal ? "Abandon Fatal" : "Abandon Declined");
}

bool RecordingCallback::Ask(const std::string& call)
{
    const bool scripted = !answers_.empty();
    const bool yes = scripted ? answers_.front() : true;
    if (scripted) answers_.pop_front();
    calls.push_back(call + (yes ? " -> yes" : " -> no"));
    return yes;
}

std::string StatusName(Status status)
{
    static const char* const names[] = {
        "InstallStarting",  "ReadingInformation", "Measuring",          "CheckingFreeSpace",
        "CheckingSetupFolder", "CreatingFolder",  "SkippingMissingSource", "Copying",
        "CreatingShortcut", "WritingRegistry",    "WritingIniFiles",    "Associating",
        "UpdatingRecord",   "RecordingFolders",   "RecordingFiles",     "RecordingShortcuts",
        "RecordingRegistryKeys", "RecordingExtraFiles", "RecordingAssociations", "InstallPartlyFailed",
        "InstallCompleted", "Uninstalling",       "UninstallPartlyFailed", "UninstallCompleted",
        "UndoingInstall",
    };
    // A status added to the boundary without a name here must not read
    // beyond the table.
    static_assert(std::size(names) == static_cast<size_t>(Status::UndoingInstall) + 1);
    return names[static_cast<int>(status)];
}
