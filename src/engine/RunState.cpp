#include "engine/RunState.h"

RunState TheRun;

LocationTable LocationsOf(const RunState& run)
{
    return {run.AppFolder,          run.ProgramFilesFolder,    run.WindowsFolder,       run.SystemFolder,
            run.TempFolder,         run.BootRoot,              run.SetupRoot,           run.SourceRoot,
            run.StartMenuFolder,    run.ProgramsFolder,        run.DesktopFolder,       run.StartupFolder,
            run.SendToFolder,       run.CommonStartMenuFolder, run.CommonProgramsFolder, run.CommonDesktopFolder,
            run.CommonStartupFolder};
}

std::string ExpandLocationTokens(const std::string& text)
{
    return ExpandTokens(text, LocationsOf(TheRun));
}
