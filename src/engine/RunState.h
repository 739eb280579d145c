// What more than one part of a run needs about its environment, in three
// parts: the machine's folders (set once at the start), the run's settings
// (from the start-up and the script's header) and what the install settles
// (the setup folder and its paths, the restore slots, the restart). Still
// one record for the whole process, only the UI thread uses it; functions
// that need one part take that part.
#pragma once

#include "record/UninstallLists.h"
#include "services/LocationTokens.h"

#include <array>
#include <cstdint>
#include <string>

// The machine's folders, found once at the start and read-only after:
// where the distribution lies, the system's folders and the shell's.
struct MachineFolders {
    int32_t PlatformId = 0;  // 2 = Windows NT family, -1 when the query failed
    std::string SourceFolder;
    std::string TempFolder;
    std::string WindowsFolder;
    std::string SystemFolder;
    std::string ProgramFilesFolder;
    std::string BootRoot;
    std::string SourceRoot;
    std::string StartMenuFolder;
    std::string ProgramsFolder;
    std::string DesktopFolder;
    std::string StartupFolder;
    std::string SendToFolder;
    std::string CommonStartMenuFolder;
    std::string CommonProgramsFolder;
    std::string CommonDesktopFolder;
    std::string CommonStartupFolder;
};

// The run's settings, from the start-up: the mode, the working copy of the
// script or record, and what its header says.
struct RunSettings {
    std::string RunMode;  // "SETUP" or "UNSETUP"
    std::string WorkFolder;
    std::string ScriptPath;
    std::string TopMessageText;
    int32_t SetupSpeed = 0;  // milliseconds, at least 1 once the start-up ran
    std::string SetupTitle;
    std::string UnSetupTitle;
    std::string ProgramId;
};

// What the install or uninstall settles as it runs: the setup folder and
// the paths made from it, the association restore slots, the restart.
struct InstallResults {
    std::string AppFolder;  // the literal "(App)" until a procedure takes the folder box
    std::string SetupRoot;  // empty until the install has checked the setup folder
    std::string UnSetupPath;
    std::string UnSetupBackupPath;
    RestoreSlots RestoreRelateSlots;
    uint8_t RebootNeeded = 0;
};

struct RunState : MachineFolders, RunSettings, InstallResults {};

// True when the run installs, false when it uninstalls.
inline bool SetupMode(const RunSettings& run)
{
    return run.RunMode == "SETUP";
}

// The folders behind the location tokens, as the run state holds them now.
LocationTable LocationsOf(const MachineFolders& machine, const InstallResults& install);
inline LocationTable LocationsOf(const RunState& run)
{
    return LocationsOf(run, run);
}
