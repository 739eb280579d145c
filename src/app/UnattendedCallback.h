// The person's side of an unattended run: nobody answers, so every question
// takes the answer an administrator can rely on (or, without
// /SUPPRESSMSGBOXES, fails the run instead of waiting), every message goes
// to the log, and nothing pauses. With /SILENT the progress window shows
// what happens; with /VERYSILENT nothing shows.
#pragma once

#include "app/CommandLine.h"
#include "engine/RunState.h"
#include "ui/SetupCallback.h"
#include "windows/ProgressWindow.h"

#include <optional>
#include <string>

class UnattendedCallback final : public SetupCallback {
public:
    // `progress` is the silent run's progress window; nullptr for none.
    // `setupFolder` is the folder the install goes to, or the record's.
    UnattendedCallback(const RunOptions& options, RunState& state, std::string setupFolder,
                       ProgressWindow* progress);

    // A question needed a person that an unattended run does not have, or
    // a disk was not where the layout puts it: the run failed.
    bool Unanswered() const { return unanswered_; }

    InstallChoices TakeInstallChoices() override;
    UninstallChoices TakeUninstallChoices() override;
    void RunStarting(RunKind kind) override;
    void ShowStatus(const StatusStep& step) override;
    bool AbortRequested() override { return unanswered_; }
    void StepDone() override {}
    void AllowAbort(bool) override {}
    void ShowCopyProgress(bool shown) override;
    void CopyProgressed(const CopyProgress& progress) override;
    bool GoOnWithoutJournal(const std::string& journalPath) override;
    bool CreateSetupFolder(const std::string& folder) override;
    void SetupFolderNotCreated() override;
    void SetupFolderRefused(const std::string& folder, const SetupFolderRefusal& refusal) override;
    bool ContinueShortOfSpace(bool freeSpaceKnown, int64_t neededBytes) override;
    bool InsertDisk(int number, std::string& diskFolder) override;
    bool Overwrite(const std::string& path) override;
    void ProgressByEntries() override {}
    bool Associate(const std::string& extension, const std::string& program) override;
    void RegistrationFailed(const std::string& path, RegistrationFailure failure) override;
    void ProgramNotStarted() override;
    void SetupFolderUnknown() override;
    bool DeleteWithCaution(const std::string& path) override;
    bool DeleteUncountedComponent(const std::string& path) override;
    SharedFileAnswer AskSharedFile(const std::string& path) override;
    bool OfferFailureReport(RunKind) override { return true; }
    // The procedures log the report and errors of the system themselves.
    void ShowFailureReport(RunKind, const FailureReport&) override {}
    void InstallCompleted(bool pointToAddRemove) override;
    void UninstallCompleted() override;
    void ReportError(const std::string&) override {}
    void Abandon(StopCause cause) override;
    void EndRun() override { CloseProgress(); }
    void FinishRun() override { CloseProgress(); }
    void CloseProgress() override;

private:
    // Logs the question and its answer. True when the answer may be given;
    // without /SUPPRESSMSGBOXES the run fails instead (the install stops at
    // its next abort poll, the uninstall keeps what the question was about).
    bool Answerable(const std::string& question, const std::string& answer);
    void Log(const std::string& text) { state_.log.Line(text); }

    const RunOptions& options_;
    RunState& state_;
    std::string setupFolder_;
    ProgressWindow* progress_;
    bool unanswered_ = false;
    int lastDisk_ = 1;  // the disk looked for last
    std::optional<Status> lastLogged_;
};
