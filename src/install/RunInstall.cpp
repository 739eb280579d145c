#include "install/RunInstall.h"

#include "engine/RunState.h"
#include "install/ActionPhases.h"
#include "install/CopyPhase.h"
#include "install/FolderPhase.h"
#include "install/InstallCompletion.h"
#include "install/InstallPreparation.h"
#include "install/SpaceCheck.h"
#include "services/ChangeJournal.h"
#include "services/FileOps.h"
#include "services/SetupError.h"
#include "services/SharedComponents.h"

#include <optional>

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
        // Undone while the progress window still shows what happens.
        UndoInstall(person, run);
        person.CloseProgress();
        AbandonInstall(person, run, StopCause::Fatal, RunEnd::Failed);
    }
}

RunOutcome OutcomeOf(const InstallRun& run, bool stopped)
{
    if (stopped) return {run.stoppedAs.value_or(RunEnd::Cancelled), false};
    return {run.failures.Empty() ? RunEnd::Completed : RunEnd::CompletedWithFailures, run.State().rebootNeeded != 0};
}

// What becomes of the changes once the install has ended. A stop that was
// no person's abort has undone them already. The person's abort keeps
// them: its question says that the files copied so far stay. An unattended
// run is all or nothing: any failure, a question without an answer or a
// stop undoes it, and it has failed.
RunOutcome SettleChanges(SetupCallback& person, InstallRun& run, RunOutcome outcome, bool stopped)
{
    const RunState& state = run.State();
    const bool failed = stopped || !run.failures.Empty() || state.answerMissing;
    if (state.allOrNothing && failed) {
        UndoInstall(person, run);
        return {stopped ? outcome.end : RunEnd::Failed, false};
    }
    KeepInstall(run);
    return outcome;
}

RunOutcome RunInstall(SetupCallback& person, RunState& state)
{
    InstallRun run{state};
    // A user install's components register themselves for the user.
    std::optional<UserClassesOverride> userClasses;
    if (state.scope == InstallScope::User) userClasses.emplace();
    // A user install's own folder, which holds the journal, is made by its
    // first install and stays, as the Windows folder does for a machine
    // install.
    if (!state.journalPath.empty() && !FolderExists(OwnFilesFolder(state))) {
        NoJournal unjournaled;
        CreateFolderPath(OwnFilesFolder(state), unjournaled);
    }
    if (!state.journalPath.empty()) run.journal = Journal::Start(state.journalPath);
    if (!state.journalPath.empty() && !run.journal) {
        // Asked before the first change: declined, nothing has been made.
        if (!person.GoOnWithoutJournal(state.journalPath)) {
            // An unattended run cannot go on; a person chose not to.
            const bool unattended = state.allOrNothing;
            AbandonInstall(person, run, unattended ? StopCause::Fatal : StopCause::Declined,
                           unattended ? RunEnd::Failed : RunEnd::Cancelled);
            return {*run.stoppedAs, false};
        }
        run.Log("No journal could be made (" + state.journalPath + "): a failed install cannot be undone");
    }
    ReportUnopenedLog(state, run.failures);
    bool stopped = true;
    RunStoppingAtError(person, run, [&] {
        if (RunInstallPhases(person, run) == Flow::Stop) return;
        // The uninstaller, the record, the Add/Remove Programs entry, the
        // failure report, the completion and the end of the run.
        if (CompleteInstall(run, person) == Flow::Stop) return;
        stopped = false;
    });
    return SettleChanges(person, run, OutcomeOf(run, stopped), stopped);
}
