// The part of the start-up that learns where things are on this machine:
// the platform, the executable's folder, the temporary, Windows, system and
// Program Files folders, the drive roots and the shell folders.
#pragma once

#include "engine/RunState.h"

#include <string>

// Fills the folder fields of `run` in start-up order (for the run's scope:
// a user install's Program Files is the user's programs folder, and its
// common shell folders are the user's own) and returns the fatal
// error lines for folders that could not be obtained (empty when none).
// `appFolder` becomes the literal "(App)".
std::string LoadSystemFolders(RunState& run);

// The Windows folder with a trailing backslash; empty when the system cannot
// tell.
std::string SystemWindowsFolder();

// A user install's own folder, "%LOCALAPPDATA%\Orvane\"; empty when the
// system names no local application data folder.
std::string UserOwnFolder();

// The user's programs folder (the system's FOLDERID_UserProgramFiles, else
// "%LOCALAPPDATA%\Programs\"), with a trailing backslash; empty when
// neither can be found.
std::string UserProgramsFolder();

// The machine's Program Files folder, with a trailing backslash.
std::string MachineProgramFilesFolder();

// The system's temporary folder with a trailing backslash; empty when the
// system cannot tell.
std::string SystemTemporaryFolder();

// The nine shell folders, each with a trailing backslash ("\" when the shell
// has none). Off the NT platform the common ones copy the per-user ones.
void LoadShellFolders(RunState& run);
