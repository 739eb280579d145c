// What every phase of the install shares: the status text and the abort poll
// that follows it, the pause between steps, and the fatal stop.
#pragma once

#include "install/InstallRun.h"
#include "ui/SetupCallback.h"

#include <span>
#include <string>

// Whether the install goes on. Stop means that the run has ended already:
// the abort handler or AbandonInstall has set everything for the end, and
// the procedure only returns, without any further message.
enum class Flow { GoOn, Stop };

// One phase of RunInstall, working on the install's working state.
using InstallPhase = Flow (*)(SetupCallback&, InstallRun&);

// Runs the phases in their order until one of them stops the run.
Flow RunPhases(std::span<const InstallPhase> phases, SetupCallback& person, InstallRun& run);

// The abort poll: Stop once the user has confirmed the abort.
Flow PollAbort(SetupCallback& person);

// Shows the step (the person's input is handled right after it, which is
// when the abort can be pressed), then polls the abort.
Flow ShowStatusAndPoll(SetupCallback& person, const StatusStep& step);

// When anything failed, the report goes to the log, and the person may see
// it: asked, and shown.
void OfferFailures(SetupCallback& person, RunKind kind, const FailureReport& failures, RunLog& log);

// The fatal stop: the changes made so far are undone, the person is told
// that the install cannot go on, and the run ends as `end`. Returns Stop.
Flow AbandonInstall(SetupCallback& person, InstallRun& run, StopCause cause, RunEnd end);

// Undoes every change the install made so far, last first, with a status
// step while it works; each undone step is logged. Once per install.
void UndoInstall(SetupCallback& person, InstallRun& run);

// Keeps what the install did: the journal and the earlier files it kept go.
void KeepInstall(InstallRun& run);
