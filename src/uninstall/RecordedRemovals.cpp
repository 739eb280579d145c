#include "uninstall/RecordedRemovals.h"

#include "script/PathParts.h"
#include "services/Deletion.h"
#include "services/PendingReplacement.h"
#include "services/SetupError.h"
#include "services/SystemErrorText.h"
#include "text/NumberedList.h"
#include "uninstall/RestartRemoval.h"

#include <algorithm>
#include <optional>

namespace {

// One file of a list. A shared count that cannot be lowered (no right to
// write the system's list) is told as every registry write failure is, and
// the file stays: another program may still count on it. The uninstall goes
// on with the next file.
unsigned long RemoveOneFile(const RecordedFile& file, UninstallRun& run, SetupCallback& person)
{
    try {
        FileDeletion deletion = DecideFileDeletion(file, run.components, run.sharedFiles, person);
        // What another program holds goes when the wait is over instead,
        // before anything can hold it again: the one file, or each file of
        // a pattern that is still there.
        if (IsInUseError(deletion.error)) {
            if (std::optional<std::vector<std::string>> held = DeleteHeldFilesAtRestart(file.path, run.waiting)) {
                deletion.error = 0;
                deletion.atRestart = std::move(*held);
            }
        }
        if (deletion.keptBecause != nullptr)
            run.Log("Kept: " + file.path + " (" + deletion.keptBecause + ")");
        else if (deletion.error != 0)
            run.Log(WithSystemError("Not removed: " + file.path, deletion.error));
        else if (deletion.atRestart.empty() || HasWildcards(file.path))
            run.Log("Removed: " + file.path);
        for (const std::string& held : deletion.atRestart) LeaveToRestart(run, held);
        return deletion.error;
    } catch (const SetupError& error) {
        run.Log("Kept: " + file.path + " (" + error.Message() + ")");
        person.ReportError(error.Message());
        return 0;
    }
}

bool IsShortcutHome(const std::string& folder, const UninstallRun& run)
{
    // Byte for byte: the record holds the folders as this machine's shell
    // named them.
    return std::find(run.shortcutHomes.begin(), run.shortcutHomes.end(), folder) != run.shortcutHomes.end();
}

// A refused entry is reported and left alone; true when it was refused.
bool Refused(std::optional<FailureReason> refusal, FailureTag tag, const std::string& path, UninstallRun& run)
{
    if (!refusal) return false;
    const FailureEntry entry{tag, path, StatedReason{*refusal, {}}};
    run.failures.Add(entry);
    run.Log("Refused: " + EntryLine(entry));
    return true;
}

}  // namespace

void RemoveRecordedFiles(UninstallRun& run, SetupCallback& person)
{
    for (const std::string& value : ReadNumberedList("DeleteFile", "File", run.record)) {
        const RecordedFile file = SplitRecordedFile(value);
        if (file.path.empty()) break;
        if (Refused(run.scope.RefusalOfFile(file.path), FailureTag::File, file.path, run)) continue;
        const unsigned long result = RemoveOneFile(file, run, person);
        if (result != 0) run.failures.AddSystemError(FailureTag::File, file.path, result);
    }
    // The author's extra entries: their failures are not reported, but a
    // refusal is, so that the author learns of it.
    for (const std::string& value : ReadNumberedList("AddDeleteFile", "File", run.record)) {
        const RecordedFile file = SplitRecordedFile(value);
        if (file.path.empty()) break;
        if (Refused(run.scope.RefusalOfFile(file.path), FailureTag::File, file.path, run)) continue;
        RemoveOneFile(file, run, person);
    }
}

void RemoveRecordedShortcuts(UninstallRun& run)
{
    for (const std::string& shortcut : ReadNumberedList("DeleteShortCut", "File", run.record)) {
        if (Refused(run.scope.RefusalOfShortcut(shortcut), FailureTag::ShortCut, shortcut, run)) continue;
        const unsigned long result = DeleteFiles(shortcut);
        if (result != 0) run.failures.AddSystemError(FailureTag::ShortCut, shortcut, result);
        run.Log(result == 0 ? "Shortcut removed: " + shortcut : WithSystemError("Shortcut not removed: " + shortcut, result));
        const std::string folder = WithTrailingBackslash(FolderPart(shortcut));
        if (!IsShortcutHome(folder, run) && !run.protectedFolders.Protects(folder)) RemoveFolder(folder, "");
    }
}

void RemoveRecordedFolders(UninstallRun& run)
{
    const std::vector<std::string> folders = ReadNumberedList("DeleteFolder", "Folder", run.record);
    for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder) {
        if (run.protectedFolders.Protects(*folder)) {
            run.Log("Kept: " + *folder + " (a folder of the system or the user)");
            continue;
        }
        if (Refused(run.scope.RefusalOfFolder(*folder), FailureTag::Folder, *folder, run)) continue;
        const bool insideSetupFolder = run.scope.InsideSetupFolder(*folder);
        const unsigned long result = RemoveFolder(*folder, insideSetupFolder ? run.patterns : "");
        if (result != 0 && insideSetupFolder && run.deleteAllAsked) {
            // Not reported: with delete-all the setup folder's removal takes
            // what is left; without it (a setup folder that was there
            // before the install) what is left is not the install's.
            run.Log(run.deleteAll ? WithSystemError("Folder left to the setup folder's removal: " + *folder, result)
                                  : "Kept: " + *folder + " (not empty; what the install did not put there stays)");
            continue;
        }
        if (result != 0 && RemoveFolderAtRestart(run, *folder, false)) continue;
        if (result != 0) run.failures.AddSystemError(FailureTag::Folder, *folder, result);
        run.Log(result == 0 ? "Folder removed: " + *folder : WithSystemError("Folder not removed: " + *folder, result));
    }
}
