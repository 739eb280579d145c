#include "uninstall/RestartRemoval.h"

#include "engine/ProtectedFolders.h"
#include "script/PathParts.h"
#include "services/Deletion.h"
#include "services/PendingReplacement.h"
#include "services/Win32Files.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

bool IsLeftToRestart(const UninstallRun& run, const std::string& file)
{
    return std::any_of(run.leftForRestart.begin(), run.leftForRestart.end(), [&](const std::string& left) {
        return IsSameOrInside(left + "\\", file + "\\") && IsSameOrInside(file + "\\", left + "\\");
    });
}

// What a folder left for the restart holds: the held files still to be put
// on the list, and the folders, each before those inside it.
struct RestartRemoval {
    std::vector<std::string> heldFiles;
    std::vector<std::string> folders;
    bool anyFile = false;  // a file on the list or held: the reason the folder stays
};

// False when something in `folder` stays for another reason: a file that
// can be neither left to the restart nor deleted now, a name Shift-JIS
// cannot hold, or a link to another folder.
bool Collect(const UninstallRun& run, const std::string& folder, bool heldFilesToo, RestartRemoval& removal)
{
    removal.folders.push_back(folder);
    WIN32_FIND_DATAW data{};
    const FindHandle find = FindFirstEntry(folder + "*", data);
    if (!find) return true;
    do {
        const std::optional<std::string> name = EntryName(data);
        if (!name) return false;
        if (*name == "." || *name == "..") continue;
        const std::string path = folder + *name;
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return false;
            if (!Collect(run, path + "\\", heldFilesToo, removal)) return false;
        } else if (IsLeftToRestart(run, path)) {
            removal.anyFile = true;
        } else if (heldFilesToo) {
            // Delete-all: whatever can go now goes; only a held file waits.
            const unsigned long error = DeleteFiles(path);
            if (error == 0) continue;
            if (!IsInUseError(error)) return false;
            removal.heldFiles.push_back(path);
            removal.anyFile = true;
        } else {
            return false;
        }
    } while (FindNextEntry(find, data));
    return true;
}

}  // namespace

void LeaveToRestart(UninstallRun& run, const std::string& file)
{
    run.leftForRestart.push_back(file);
    run.Log(std::string("In use, removed at ") + run.waiting.Until() + ": " + file + " (held by " + ProgramsHolding(file) + ")");
}

bool RemoveFolderAtRestart(UninstallRun& run, const std::string& folder, bool heldFilesToo)
{
    RestartRemoval removal;
    if (!Collect(run, WithTrailingBackslash(folder), heldFilesToo, removal) || !removal.anyFile) return false;
    for (const std::string& file : removal.heldFiles) {
        if (run.waiting.Delete(file) != 0) return false;
        LeaveToRestart(run, file);
    }
    for (auto inner = removal.folders.rbegin(); inner != removal.folders.rend(); ++inner)
        if (run.waiting.Delete(*inner) != 0) return false;
    run.Log(std::string("Folder removed at ") + run.waiting.Until() + ": " + WithTrailingBackslash(folder));
    return true;
}
