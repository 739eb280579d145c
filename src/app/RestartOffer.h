// The last act of a setup that asked for a Windows restart, once every
// window is gone.
#pragma once

#include "engine/RunState.h"
#include "ui/SetupCallback.h"

// When the run asked for a restart: the shell's restart dialog, and after a
// declining answer the warning that the setup (or the uninstall, whose files
// in use go only then) completes with the restart. True when the person
// accepted (the system restarts).
bool OfferRestartIfNeeded(const InstallResults& results, RunKind kind = RunKind::Install);

// The restart an unattended run starts without asking (no /NORESTART):
// the shutdown privilege enabled and the system told to restart. False,
// with the reason in the log, when the system refused.
bool StartRestart(RunLog& log);
