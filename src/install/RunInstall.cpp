#include "install/RunInstall.h"

#include "install/ActionPhases.h"
#include "install/CopyPhase.h"
#include "install/FolderPhase.h"
#include "install/InstallCompletion.h"
#include "install/InstallPreparation.h"
#include "install/SpaceCheck.h"

Flow RunInstallPhases(RunWindows& windows, InstallRun& run)
{
    static constexpr InstallPhase phases[] = {
        StartInstall,          // "セットアップを開始します．．．"
        ReadAssociationTable,  // [Relate]
        MeasureNeededSpace,    // the sizes of the [CopyFile] sources
        CheckFreeSpace,        // the setup folder's drive
        CheckSetupFolder,      // created on request; an earlier record taken over; abort enabled
        MakeFolders,           // [MakeFolder]
        CopyFiles,             // [CopyFile]
        RunActionPhases,       // [ShortCut], [Registry], [IniFile], the uninstall-only entries, [Relate]
    };
    return RunPhases(phases, windows, run);
}

void RunInstall(RunWindows& windows)
{
    InstallRun run;
    if (RunInstallPhases(windows, run) == Flow::Stop) return;
    // The uninstaller, the record, the Add/Remove Programs entry, the failure
    // report, the completion and the end of the run.
    CompleteInstall(run, windows);
}
