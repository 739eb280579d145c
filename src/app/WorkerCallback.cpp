#include "app/WorkerCallback.h"

#include "app/StatusTexts.h"
#include "script/ScopeExit.h"
#include "services/Clock.h"
#include "windows/MessagePump.h"
#include "windows/WorkerThread.h"

#include <utility>

namespace {

template <typename Value>
std::optional<Value> Take(SRWLOCK& lock, std::optional<Value>& slot)
{
    AcquireSRWLockExclusive(&lock);
    std::optional<Value> value = std::exchange(slot, std::nullopt);
    ReleaseSRWLockExclusive(&lock);
    return value;
}

template <typename Value>
void Note(SRWLOCK& lock, std::optional<Value>& slot, const Value& value)
{
    AcquireSRWLockExclusive(&lock);
    slot = value;
    ReleaseSRWLockExclusive(&lock);
}

}  // namespace

WorkerCallback::WorkerCallback(WindowsCallback& windows, WindowThreadCalls& calls, RunSignals& signals,
                               const RunSettings& settings)
    : windows_(windows), calls_(calls), signals_(signals), settings_(settings)
{
}

RunOutcome WorkerCallback::Run(const std::function<RunOutcome(SetupCallback&)>& procedure)
{
    lastStep_.reset();
    calls_.StartTicks(PaintInterval, [this] { ShowReports(false); });
    ScopeExit stopTicks([this] { calls_.StopTicks(); });
    std::optional<RunOutcome> outcome;
    RunOnWorkerThread([&] { outcome = procedure(*this); });
    // What the procedure reported last stays on the screen.
    ShowReports(true);
    return *outcome;
}

void WorkerCallback::Call(const std::function<void()>& call)
{
    calls_.Run([&] {
        ShowReports(true);
        call();
    });
}

template <typename Answer>
Answer WorkerCallback::Ask(const std::function<Answer()>& question)
{
    std::optional<Answer> answer;
    Call([&] { answer = question(); });
    return *answer;
}

// Each report is taken just before it is set, and set before the pump that
// shows it: a call that this pump carries out finds nothing older left. The
// progress window never shows the text of an earlier run or screen: a tick
// leaves it to the first status. A tick sets the status and the progress
// and then lets the queue run once, not after each: what it set is painted
// before a call of the procedure, carried out next by the same loop, can
// find nothing left to show and let the procedure replace the step's text
// unseen.
void WorkerCallback::ShowReports(bool call)
{
    AcquireSRWLockExclusive(&lock_);
    const bool showWindow = progressWindow_ && (call || status_);
    if (showWindow) progressWindow_ = false;
    std::optional<StatusStep> step = std::exchange(status_, std::nullopt);
    ReleaseSRWLockExclusive(&lock_);
    if (showWindow) {
        windows_.ShowProgress(true);
        windows_.PrepareCompletionLayout();
    }
    if (!call) {
        if (step) windows_.SetStatusText(StatusText(*step));
        const std::optional<CopyProgress> progress = Take(lock_, progress_);
        if (progress) windows_.SetCopyProgress(*progress);
        if (step || progress) ProcessMessages();
        return;
    }
    if (step) windows_.SetStatus(StatusText(*step));
    if (const std::optional<CopyProgress> progress = Take(lock_, progress_)) windows_.CopyProgressed(*progress);
}

void WorkerCallback::ShowNow()
{
    Call([] {});
}

void WorkerCallback::Pause(unsigned long milliseconds)
{
    if (milliseconds >= PaintInterval) ShowNow();
    signals_.hold.WaitWhileHeld();
    Wait(milliseconds);
}

InstallChoices WorkerCallback::TakeInstallChoices()
{
    return Ask<InstallChoices>([this] { return windows_.TakeInstallChoices(); });
}

UninstallChoices WorkerCallback::TakeUninstallChoices()
{
    return Ask<UninstallChoices>([this] { return windows_.TakeUninstallChoices(); });
}

// The main window goes, and after the pause the progress window comes,
// with the first status.
void WorkerCallback::RunStarting(RunKind kind)
{
    Call([this] { windows_.ShowMain(false); });
    if (const unsigned long pause = ProgressWindowPause(kind); pause > 0) Pause(pause);
    AcquireSRWLockExclusive(&lock_);
    progressWindow_ = true;
    ReleaseSRWLockExclusive(&lock_);
}

void WorkerCallback::ShowStatus(const StatusStep& step)
{
    Note(lock_, status_, step);
    const bool newStep = lastStep_ != step.status;
    lastStep_ = step.status;
    const unsigned long pause = StatusPause(step);
    if (newStep && pause < PaintInterval) ShowNow();
    if (pause > 0) Pause(pause);
}

// An abort the person is still being asked about is waited for.
bool WorkerCallback::AbortRequested()
{
    signals_.hold.WaitWhileHeld();
    return signals_.abortRequested;
}

void WorkerCallback::StepDone()
{
    Pause(static_cast<unsigned long>(settings_.setupSpeed));
}

void WorkerCallback::AllowAbort(bool allowed)
{
    Call([&] { windows_.AllowAbort(allowed); });
}

void WorkerCallback::ShowCopyProgress(bool shown)
{
    Call([&] { windows_.ShowCopyProgress(shown); });
}

void WorkerCallback::CopyProgressed(const CopyProgress& progress)
{
    Note(lock_, progress_, progress);
}

bool WorkerCallback::GoOnWithoutJournal(const std::string& journalPath)
{
    return Ask<bool>([&] { return windows_.GoOnWithoutJournal(journalPath); });
}

bool WorkerCallback::CreateSetupFolder(const std::string& folder)
{
    return Ask<bool>([&] { return windows_.CreateSetupFolder(folder); });
}

void WorkerCallback::SetupFolderNotCreated()
{
    Call([this] { windows_.SetupFolderNotCreated(); });
}

void WorkerCallback::SetupFolderRefused(const std::string& folder, const SetupFolderRefusal& refusal)
{
    Call([&] { windows_.SetupFolderRefused(folder, refusal); });
}

bool WorkerCallback::ContinueShortOfSpace(bool freeSpaceKnown, int64_t neededBytes)
{
    return Ask<bool>([&] { return windows_.ContinueShortOfSpace(freeSpaceKnown, neededBytes); });
}

bool WorkerCallback::InsertDisk(int number, std::string& diskFolder)
{
    return Ask<bool>([&] { return windows_.InsertDisk(number, diskFolder); });
}

bool WorkerCallback::Overwrite(const std::string& path)
{
    return Ask<bool>([&] { return windows_.Overwrite(path); });
}

void WorkerCallback::ProgressByEntries()
{
    Call([this] { windows_.ProgressByEntries(); });
}

bool WorkerCallback::Associate(const std::string& extension, const std::string& program)
{
    return Ask<bool>([&] { return windows_.Associate(extension, program); });
}

void WorkerCallback::RegistrationFailed(const std::string& path, RegistrationFailure failure)
{
    Call([&] { windows_.RegistrationFailed(path, failure); });
}

void WorkerCallback::ProgramNotStarted()
{
    Call([this] { windows_.ProgramNotStarted(); });
}

void WorkerCallback::SetupFolderUnknown()
{
    Call([this] { windows_.SetupFolderUnknown(); });
}

bool WorkerCallback::DeleteWithCaution(const std::string& path)
{
    return Ask<bool>([&] { return windows_.DeleteWithCaution(path); });
}

bool WorkerCallback::DeleteUncountedComponent(const std::string& path)
{
    return Ask<bool>([&] { return windows_.DeleteUncountedComponent(path); });
}

SharedFileAnswer WorkerCallback::AskSharedFile(const std::string& path)
{
    return Ask<SharedFileAnswer>([&] { return windows_.AskSharedFile(path); });
}

bool WorkerCallback::OfferFailureReport(RunKind kind)
{
    return Ask<bool>([&] { return windows_.OfferFailureReport(kind); });
}

void WorkerCallback::ShowFailureReport(RunKind kind, const FailureReport& report)
{
    Call([&] { windows_.ShowFailureReport(kind, report); });
}

void WorkerCallback::InstallCompleted(bool pointToAddRemove)
{
    Call([&] { windows_.InstallCompleted(pointToAddRemove); });
}

void WorkerCallback::UninstallCompleted()
{
    Call([this] { windows_.UninstallCompleted(); });
}

void WorkerCallback::ReportError(const std::string& message)
{
    Call([&] { windows_.ReportError(message); });
}

void WorkerCallback::Abandon(StopCause cause)
{
    Call([&] { windows_.Abandon(cause); });
}

void WorkerCallback::EndRun()
{
    Call([this] { windows_.EndRun(); });
}

void WorkerCallback::FinishRun()
{
    Call([this] { windows_.FinishRun(); });
}

void WorkerCallback::CloseProgress()
{
    Call([this] { windows_.CloseProgress(); });
}
