// The person as a procedure on its worker thread reaches them: every
// question, box and change of the windows is carried out on the window
// thread by the windows' own side while the procedure waits for it; the
// status text and the copy's progress are only noted, and the window side
// paints the latest of them on its own tick, at most about 30 times a
// second, instead of once per file. What the person sees keeps its texts
// and order: each new step (reading, measuring, copying, recording...) is
// on the screen before the procedure goes on, only the items of one step
// (the next file, the next folder) are left to the tick; before any call
// the window side shows what was reported before it; and before a pause
// long enough to be seen, the text it is for is painted.
// The designed pauses are kept on the worker, so that the windows stay
// responsive through them.
#pragma once

#include "app/WindowsCallback.h"
#include "engine/RunState.h"
#include "ui/SetupCallback.h"
#include "windows/RunSignals.h"
#include "windows/WindowThreadCalls.h"

#include <functional>
#include <optional>

// The window side's tick, in milliseconds.
inline constexpr unsigned PaintInterval = 33;

class WorkerCallback final : public SetupCallback {
public:
    // Made on the window thread, beside the windows' side it forwards to.
    WorkerCallback(WindowsCallback& windows, WindowThreadCalls& calls, RunSignals& signals, const RunSettings& settings);

    // Runs `procedure` on a worker thread of its own, reaching the person
    // through this, while the window thread keeps the windows going; returns
    // its outcome once it has ended (what it threw is thrown here). Until
    // then the worker owns the run state.
    RunOutcome Run(const std::function<RunOutcome(SetupCallback&)>& procedure);

    InstallChoices TakeInstallChoices() override;
    UninstallChoices TakeUninstallChoices() override;
    void RunStarting(RunKind kind) override;
    void ShowStatus(const StatusStep& step) override;
    bool AbortRequested() override;
    void StepDone() override;
    void AllowAbort(bool allowed) override;
    void ShowCopyProgress(bool shown) override;
    void CopyProgressed(const CopyProgress& progress) override;
    bool GoOnWithoutJournal(const std::string& journalPath) override;
    bool CreateSetupFolder(const std::string& folder) override;
    void SetupFolderNotCreated() override;
    void SetupFolderRefused(const std::string& folder, const SetupFolderRefusal& refusal) override;
    bool ContinueShortOfSpace(bool freeSpaceKnown, int64_t neededBytes) override;
    bool InsertDisk(int number, std::string& diskFolder) override;
    bool Overwrite(const std::string& path) override;
    void ProgressByEntries() override;
    bool Associate(const std::string& extension, const std::string& program) override;
    void RegistrationFailed(const std::string& path, RegistrationFailure failure) override;
    void ProgramNotStarted() override;
    void SetupFolderUnknown() override;
    bool DeleteWithCaution(const std::string& path) override;
    bool DeleteUncountedComponent(const std::string& path) override;
    SharedFileAnswer AskSharedFile(const std::string& path) override;
    bool OfferFailureReport(RunKind kind) override;
    void ShowFailureReport(RunKind kind, const FailureReport& report) override;
    void InstallCompleted(bool pointToAddRemove) override;
    void UninstallCompleted() override;
    void ReportError(const std::string& message) override;
    void Abandon(StopCause cause) override;
    void EndRun() override;
    void FinishRun() override;
    void CloseProgress() override;

private:
    // On the window thread, after what was reported before it; the worker
    // waits for it.
    void Call(const std::function<void()>& call);
    template <typename Answer>
    Answer Ask(const std::function<Answer()>& question);
    // What was reported and not yet shown, on the window thread: the
    // progress window (shown with the first status, or by a call), the
    // latest status and progress. `call`: before a call of the procedure.
    void ShowReports(bool call);
    // A pause of the procedure, held back while the window side asks the
    // person something of its own; one a person can see begins with the
    // latest report on the screen.
    void Pause(unsigned long milliseconds);
    // The latest report on the screen before the procedure goes on.
    void ShowNow();

    WindowsCallback& windows_;
    WindowThreadCalls& calls_;
    RunSignals& signals_;
    const RunSettings& settings_;
    SRWLOCK lock_ = SRWLOCK_INIT;  // over the three reports
    bool progressWindow_ = false;
    std::optional<StatusStep> status_;
    std::optional<CopyProgress> progress_;
    std::optional<Status> lastStep_;  // the worker's own
};
