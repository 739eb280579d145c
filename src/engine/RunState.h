// Everything that more than one part of a run needs about its environment:
// the system and shell folders, the setup folder, the mode, the titles, the
// working copy of the script, the pause between install steps and the
// restart flag. One record for the whole process; only the UI thread uses it.
#pragma once

#include "record/UninstallLists.h"
#include "services/LocationTokens.h"

#include <array>
#include <cstdint>
#include <string>

struct RunState {
    int32_t PlatformId = 0;  // 2 = Windows NT family, -1 when the query failed
    std::string SourceFolder;
    std::string TempFolder;
    std::string WindowsFolder;
    std::string SystemFolder;
    std::string AppFolder;  // the literal "(App)" until a procedure takes the folder box
    std::string ProgramFilesFolder;
    std::string BootRoot;
    std::string SourceRoot;
    std::string SetupRoot;  // empty until the install has checked the setup folder
    std::string StartMenuFolder;
    std::string ProgramsFolder;
    std::string DesktopFolder;
    std::string StartupFolder;
    std::string SendToFolder;
    std::string CommonStartMenuFolder;
    std::string CommonProgramsFolder;
    std::string CommonDesktopFolder;
    std::string CommonStartupFolder;
    std::string RunMode;  // "SETUP" or "UNSETUP"
    std::string WorkFolder;
    std::string ScriptPath;
    std::string TopMessageText;
    int32_t SetupSpeed = 0;  // milliseconds, at least 1 once the start-up ran
    std::string SetupTitle;
    std::string UnSetupTitle;
    std::string ProgramId;
    std::string UnSetupPath;
    std::string UnSetupBackupPath;
    RestoreSlots RestoreRelateSlots;
    uint8_t RebootNeeded = 0;
};

// The process-wide record, empty at process start.
extern RunState TheRun;

// True when the run installs, false when it uninstalls.
inline bool SetupMode(const RunState& run = TheRun)
{
    return run.RunMode == "SETUP";
}

// The folders behind the location tokens, as the run state holds them now.
LocationTable LocationsOf(const RunState& run);

// The location tokens of a script or record value replaced with the run
// state's folders (see ExpandTokens).
std::string ExpandLocationTokens(const std::string& text);
