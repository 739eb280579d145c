// The part of the start-up that learns where things are on this machine:
// the platform, the executable's folder, the temporary, Windows, system and
// Program Files folders, the drive roots and the shell folders.
#pragma once

#include "engine/RunState.h"

#include <string>

// Fills the folder fields of `run` in start-up order and returns the fatal
// error lines for folders that could not be obtained (empty when none).
// `appFolder` becomes the literal "(App)".
std::string LoadSystemFolders(RunState& run);

// The Windows folder with a trailing backslash; empty when the system cannot
// tell.
std::string SystemWindowsFolder();

// The system's temporary folder with a trailing backslash; empty when the
// system cannot tell.
std::string SystemTemporaryFolder();

// The nine shell folders, each with a trailing backslash ("\" when the shell
// has none). Off the NT platform the common ones copy the per-user ones.
void LoadShellFolders(RunState& run);
