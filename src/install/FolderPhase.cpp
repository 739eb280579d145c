#include "install/FolderPhase.h"

#include "engine/RunState.h"
#include "install/RefusedPaths.h"
#include "script/MakeFolderSection.h"
#include "services/FileOps.h"
#include "services/SystemErrorText.h"
#include "services/Win32Files.h"

#include <windows.h>

Flow MakeFolders(SetupCallback& person, InstallRun& run)
{
    for (const std::string& value : run.Script().makeFolders) {
        const std::string folder = ParseMakeFolder(value, LocationsOf(run.State()));
        if (ShowStatusAndPoll(person, {Status::CreatingFolder, folder}) == Flow::Stop)
            return Flow::Stop;
        // A folder that names no place of its own would be made in the
        // current folder.
        if (RefusePath(run, FailureTag::Folder, folder)) continue;
        ChangeJournal& journal = run.Changes();
        if (journal.Records() && !FolderExists(folder)) journal.FolderCreated(folder);
        const bool created = MakeOneFolder(folder);
        const DWORD error = GetLastError();
        if (created) journal.FolderMade(folder);
        // A folder that was there before is the application's all the same.
        if (created || error == ERROR_ALREADY_EXISTS) {
            run.lists.deleteFolderList.push_back(folder);
            run.Log((created ? "Folder made: " : "Folder exists: ") + folder);
        } else {
            run.failures.AddSystemError(FailureTag::Folder, folder, error);
            run.Log(WithSystemError("Folder not made: " + folder, error));
        }
        person.StepDone();
    }
    person.ShowCopyProgress(true);
    return Flow::GoOn;
}
