#include "install/RunInstall.h"

#include "engine/RunState.h"
#include "install/ActionPhases.h"
#include "install/CopyPhase.h"
#include "install/FolderPhase.h"
#include "install/InstallCompletion.h"
#include "install/InstallPreparation.h"
#include "install/SpaceCheck.h"
#include "services/SetupError.h"

Flow RunInstallPhases(SetupCallback& person, InstallRun& run)
{
    static constexpr InstallPhase phases[] = {
        StartInstall,          // "セットアップを開始します．．．"
        ReadAssociationTable,  // [Relate]
        MeasureNeededSpace,    // the sizes of the [CopyFile] sources
        CheckFreeSpace,        // the setup folder's drive
        CheckSetupFolder,      // created on request; an earlier record taken over; abort enabled
        MakeFolders,           // [MakeFolder]
        CopyFiles,             // [CopyFile]
        RunActionPhases,       // [ShortCut], [Registry], [IniFile], the uninstall-only entries, [Relate]
    };
    return RunPhases(phases, person, run);
}

void RunStoppingAtError(SetupCallback& person, InstallRun& run, const std::function<void()>& steps)
{
    // The one place where an install stops at an error: a registry key or
    // value the system refuses, a shared count that cannot be written, or a
    // shell-link object that cannot be made. The person is told what failed,
    // the progress window closes and the run ends as at any fatal stop;
    // nothing waits for an abort press.
    try {
        steps();
    } catch (const SetupError& error) {
        run.Log("Error: " + error.Message());
        person.ReportError(error.Message());
        person.CloseProgress();
        AbandonInstall(person, run, StopCause::Fatal, RunEnd::Failed);
    }
}

RunOutcome OutcomeOf(const InstallRun& run, bool stopped)
{
    if (stopped) return {run.stoppedAs.value_or(RunEnd::Cancelled), false};
    return {run.failures.Empty() ? RunEnd::Completed : RunEnd::CompletedWithFailures, run.State().rebootNeeded != 0};
}

RunOutcome RunInstall(SetupCallback& person, RunState& state)
{
    InstallRun run{state};
    ReportUnopenedLog(state, run.failures);
    bool stopped = true;
    RunStoppingAtError(person, run, [&] {
        if (RunInstallPhases(person, run) == Flow::Stop) return;
        // The uninstaller, the record, the Add/Remove Programs entry, the
        // failure report, the completion and the end of the run.
        CompleteInstall(run, person);
        stopped = false;
    });
    return OutcomeOf(run, stopped);
}
