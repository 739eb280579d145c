// An unattended install or uninstall, from the start-up to the restart: the
// same procedures as the interactive run, driven without the main window.
#pragma once

#include "app/CommandLine.h"
#include "engine/RunState.h"

#include <functional>
#include <string>

// Runs the install or uninstall that the options and the record name and
// returns the exit code.
int RunUnattended(RunState& state, const RunOptions& options);

// The same on the machine's folders as `loadFolders` fills them (the
// system's, for the run above; a test's own), returning the fatal lines of
// those it could not.
int RunUnattended(RunState& state, const RunOptions& options, const std::function<std::string(RunState&)>& loadFolders);
