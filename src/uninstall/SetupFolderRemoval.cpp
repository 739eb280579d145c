#include "uninstall/SetupFolderRemoval.h"

#include "services/Deletion.h"
#include "services/SystemErrorText.h"
#include "uninstall/RestartRemoval.h"

#include <windows.h>

void RemoveSetupFolder(UninstallRun& run)
{
    if (run.protectedFolders.Protects(run.appFolder)) {
        run.Log("Kept: " + run.appFolder + " (a folder of the system or the user)");
        return;
    }
    const unsigned long result =
        run.deleteAll ? RemoveFolderTree(run.appFolder) : RemoveFolder(run.appFolder, run.patterns);
    // Held files keep it until the restart, which takes it too.
    if (result != 0 && RemoveFolderAtRestart(run, run.appFolder, run.deleteAll)) return;
    // Delete-all on a folder that was there before the install: what is left
    // is not the install's, and no failure.
    if (result != 0 && run.deleteAllAsked && !run.deleteAll) {
        run.Log("Kept: " + run.appFolder + " (not empty; what the install did not put there stays)");
        return;
    }
    if (result != 0) run.failures.Add(SetupFolderFailure(run.appFolder, result, run.deleteAll));
    run.Log(result == 0 ? "Setup folder removed: " + run.appFolder
                        : WithSystemError("Setup folder not removed: " + run.appFolder, result));
}

FailureEntry SetupFolderFailure(const std::string& folder, unsigned long code, bool deleteAll)
{
    if (code != ERROR_DIR_NOT_EMPTY && code != ERROR_ACCESS_DENIED) return {FailureTag::SetupFolder, folder, SystemError{code}};
    const FailureReason reason =
        deleteAll ? FailureReason::SetupFolderDeleteAllFailed : FailureReason::SetupFolderFilesRemain;
    return {FailureTag::SetupFolder, folder, StatedReason{reason, {}}};
}
