#include "engine/RunState.h"

LocationTable LocationsOf(const MachineFolders& machine, const InstallResults& install)
{
    return {install.AppFolder,          machine.ProgramFilesFolder,    machine.WindowsFolder,
            machine.SystemFolder,       machine.TempFolder,            machine.BootRoot,
            install.SetupRoot,          machine.SourceRoot,            machine.StartMenuFolder,
            machine.ProgramsFolder,     machine.DesktopFolder,         machine.StartupFolder,
            machine.SendToFolder,       machine.CommonStartMenuFolder, machine.CommonProgramsFolder,
            machine.CommonDesktopFolder, machine.CommonStartupFolder};
}
