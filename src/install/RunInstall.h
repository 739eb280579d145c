// The install procedure, run by the main window's action button on
// "セットアップ開始(&S)". It runs to its end inside the click handler and ends
// the run itself.
#pragma once

#include "install/InstallFlow.h"
#include "install/InstallRun.h"
#include "ui/SetupCallback.h"

#include <functional>

RunOutcome RunInstall(SetupCallback& person, RunState& state);

// Runs `steps` of the install; an error raised by the registry layer or the
// shell-link object ends the run there: its message, the progress window
// closed, then the fatal stop's box and the end of the run as failed.
void RunStoppingAtError(SetupCallback& person, InstallRun& run, const std::function<void()>& steps);

// How an install ended: `stopped` when it did not reach its completion.
RunOutcome OutcomeOf(const InstallRun& run, bool stopped);

// The phases of the install, in their order, on a working state that the
// caller keeps (RunInstall keeps it for one call; tests look at its lists and
// failure report afterwards). Stop when a phase ended the run.
Flow RunInstallPhases(SetupCallback& person, InstallRun& run);
