// The program's exit codes, in the convention of the Windows Installer that
// deployment tools (Intune, Configuration Manager, winget, Chocolatey) read
// without being told.
#pragma once

#include "ui/SetupCallback.h"

namespace ExitCode {
inline constexpr int Completed = 0;
inline constexpr int BadCommandLine = 87;
inline constexpr int NotEnoughSpace = 112;
inline constexpr int Cancelled = 1602;
inline constexpr int Failed = 1603;
inline constexpr int AlreadyRunning = 1618;
inline constexpr int RestartStarted = 1641;
inline constexpr int RestartNeeded = 3010;
}  // namespace ExitCode

// The code for how a procedure ended. A completed one that needs a restart
// gives RestartNeeded; whoever starts the restart turns it into
// RestartStarted. A failure report that is not empty is a failure.
int ExitCodeOf(const RunOutcome& outcome);
