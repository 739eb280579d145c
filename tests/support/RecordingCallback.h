// The person as the engine's flow tests see it: every call to the boundary
// noted as one line in order, and the answers the test scripted (a question
// without a scripted answer takes its default and is noted as such). No
// window, no box, no pause.
#pragma once

#include "ui/SetupCallback.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

class RecordingCallback final : public SetupCallback {
public:
    // The next yes/no questions' answers, in order; unscripted ones say yes.
    RecordingCallback& Answer(bool yes);
    RecordingCallback& AnswerShared(SharedFileAnswer answer);
    // The poll that finds an abort: the one after `polls` polls.
    void AbortAfter(int polls) { abortAfter_ = polls; }

    std::vector<std::string> calls;
    InstallChoices installChoices;
    UninstallChoices uninstallChoices;
    std::vector<CopyProgress> progress;
    std::string report;  // the failure report shown
    std::optional<SetupFolderRefusal> lastRefusal;  // why the last setup folder was refused

    InstallChoices TakeInstallChoices() override;
    UninstallChoices TakeUninstallChoices() override;
    void RunStarting(RunKind kind) override;
    void ShowStatus(const StatusStep& step) override;
    bool AbortRequested() override;
    void StepDone() override {}
    void AllowAbort(bool allowed) override;
    void ShowCopyProgress(bool shown) override;
    void CopyProgressed(const CopyProgress& done) override { progress.push_back(done); }
    bool GoOnWithoutJournal(const std::string& path) override { return Ask("GoOnWithoutJournal " + path); }
    bool CreateSetupFolder(const std::string& folder) override { return Ask("CreateSetupFolder " + folder); }
    void SetupFolderNotCreated() override { calls.push_back("SetupFolderNotCreated"); }
    void SetupFolderRefused(const std::string& folder, const SetupFolderRefusal& refusal) override
    {
        calls.push_back("SetupFolderRefused " + folder);
        lastRefusal = refusal;
    }
    bool ContinueShortOfSpace(bool freeSpaceKnown, int64_t neededBytes) override;
    bool InsertDisk(int number, std::string&) override { return Ask("InsertDisk " + std::to_string(number)); }
    bool Overwrite(const std::string& path) override { return Ask("Overwrite " + path); }
    void ProgressByEntries() override { calls.push_back("ProgressByEntries"); }
    bool Associate(const std::string& extension, const std::string& program) override;
    void RegistrationFailed(const std::string& path, RegistrationFailure failure) override;
    void ProgramNotStarted() override { calls.push_back("ProgramNotStarted"); }
    void SetupFolderUnknown() override { calls.push_back("SetupFolderUnknown"); }
    bool DeleteWithCaution(const std::string& path) override { return Ask("DeleteWithCaution " + path); }
    bool DeleteUncountedComponent(const std::string& path) override { return Ask("DeleteUncountedComponent " + path); }
    SharedFileAnswer AskSharedFile(const std::string& path) override;
    bool OfferFailureReport(RunKind kind) override;
    void ShowFailureReport(RunKind kind, const FailureReport& report) override;
    void InstallCompleted(bool pointToAddRemove) override;
    void UninstallCompleted() override { calls.push_back("UninstallCompleted"); }
    void ReportError(const std::string& message) override { calls.push_back("ReportError " + message); }
    void Abandon(StopCause cause) override;
    void EndRun() override { calls.push_back("EndRun"); }
    void FinishRun() override { calls.push_back("FinishRun"); }
    void CloseProgress() override { calls.push_back("CloseProgress"); }

private:
    bool Ask(const std::string& call);

    std::deque<bool> answers_;
    std::deque<SharedFileAnswer> sharedAnswers_;
    int abortAfter_ = -1;
    int polls_ = 0;
};

// The name of a status, as the recording notes it.
std::string StatusName(Status status);
