#include "install/InstallFlow.h"

#include "engine/ProtectedFolders.h"
#include "engine/Rollback.h"
#include "services/SystemErrorText.h"

#include <windows.h>

Flow RunPhases(std::span<const InstallPhase> phases, SetupCallback& person, InstallRun& run)
{
    for (const InstallPhase phase : phases) {
        if (phase(person, run) == Flow::Stop) return Flow::Stop;
    }
    return Flow::GoOn;
}

Flow PollAbort(SetupCallback& person)
{
    return person.AbortRequested() ? Flow::Stop : Flow::GoOn;
}

Flow ShowStatusAndPoll(SetupCallback& person, const StatusStep& step)
{
    person.ShowStatus(step);
    return PollAbort(person);
}

void OfferFailures(SetupCallback& person, RunKind kind, const FailureReport& failures, RunLog& log)
{
    if (failures.Empty()) return;
    log.Line(std::string("Failure report of the ") + (kind == RunKind::Install ? "install" : "uninstall") + ":");
    log.Line(failures.Text());
    if (person.OfferFailureReport(kind)) person.ShowFailureReport(kind, failures);
}

Flow AbandonInstall(SetupCallback& person, InstallRun& run, StopCause cause, RunEnd end)
{
    run.stoppedAs = end;
    UndoInstall(person, run);
    person.Abandon(cause);
    return Flow::Stop;
}

void UndoInstall(SetupCallback& person, InstallRun& run)
{
    if (!run.journal || run.journalSettled) return;
    run.journalSettled = true;
    if (run.journal->Empty()) {
        run.journal->End();
        return;
    }
    person.ShowStatus({Status::UndoingInstall});
    run.Log("Undoing the install: " + run.journal->Path());
    run.journal->Close();
    const JournalSettlement settled =
        SettleJournal(run.journal->Path(), ProtectedFolders::OfRun(run.State()), run.State().log);
    run.Log(settled.verdict == JournalVerdict::Undone ? "Install undone" : "Install not undone");
}

void KeepInstall(InstallRun& run)
{
    if (!run.journal || run.journalSettled) return;
    run.journalSettled = true;
    // A journal that another program holds open stays, saying that its
    // install ended: no later run undoes it.
    if (run.journal->End()) return;
    const unsigned long error = GetLastError();
    run.Log(WithSystemError("The journal could not be removed: " + run.journal->Path(), error));
}
