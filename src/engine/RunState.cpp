#include "engine/RunState.h"

LocationTable LocationsOf(const MachineFolders& machine, const InstallResults& install)
{
    return {install.appFolder,          machine.programFilesFolder,    machine.windowsFolder,
            machine.systemFolder,       machine.tempFolder,            machine.bootRoot,
            install.setupRoot,          machine.sourceRoot,            machine.startMenuFolder,
            machine.programsFolder,     machine.desktopFolder,         machine.startupFolder,
            machine.sendToFolder,       machine.commonStartMenuFolder, machine.commonProgramsFolder,
            machine.commonDesktopFolder, machine.commonStartupFolder};
}

void ReportUnopenedLog(const RunSettings& run, FailureReport& failures)
{
    if (!run.unopenedLog.empty()) failures.AddSystemError(FailureTag::Log, run.unopenedLog, run.unopenedLogError);
}
