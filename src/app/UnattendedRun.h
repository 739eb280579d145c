// An unattended install or uninstall, from the start-up to the restart: the
// same procedures as the interactive run, driven without the main window.
#pragma once

#include "app/CommandLine.h"
#include "engine/RunState.h"

// Runs the install or uninstall that the options and the record name and
// returns the exit code.
int RunUnattended(RunState& state, const RunOptions& options);
