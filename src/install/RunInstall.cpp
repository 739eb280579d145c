#include "install/RunInstall.h"

#include "install/CopyPhase.h"
#include "install/FolderPhase.h"
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
        // The shortcut, registry, INI-file, uninstall-entry and association
        // phases follow here, then the uninstall record and the completion.
    };
    for (const InstallPhase phase : phases) {
        if (phase(windows, run) == Flow::Stop) return Flow::Stop;
    }
    return Flow::GoOn;
}

void RunInstall(RunWindows& windows)
{
    InstallRun run;
    if (RunInstallPhases(windows, run) == Flow::Stop) return;
    // NOT a complete install yet: the phases after the file copy and the
    // completion (uninstall record, Add/Remove Programs entry, failure report,
    // completion message) are still to be built. Until they are, the run
    // simply ends here, with no record written and no message.
    windows.EndRun();
}
