// SETUP.EXE's exit codes, in the convention of the Windows Installer that
// deployment tools (Intune, Configuration Manager, winget, Chocolatey) read
// without being told. The package stub ends with them too, and the author
// tools tell winget what they mean.
#pragma once

namespace ExitCode {
inline constexpr int Completed = 0;
inline constexpr int BadCommandLine = 87;
inline constexpr int NotEnoughSpace = 112;
inline constexpr int Cancelled = 1602;
inline constexpr int Failed = 1603;
inline constexpr int AlreadyRunning = 1618;
// A newer version of the product is installed; nothing was changed.
inline constexpr int DowngradeRefused = 1638;
inline constexpr int RestartStarted = 1641;
inline constexpr int RestartNeeded = 3010;
}  // namespace ExitCode
