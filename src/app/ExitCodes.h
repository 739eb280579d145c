// How a run's outcome becomes the program's exit code (script/ExitCodes.h).
#pragma once

#include "script/ExitCodes.h"
#include "ui/SetupCallback.h"

// The code for how a procedure ended. A completed one that needs a restart
// gives RestartNeeded; whoever starts the restart turns it into
// RestartStarted. A failure report that is not empty is a failure.
int ExitCodeOf(const RunOutcome& outcome);
