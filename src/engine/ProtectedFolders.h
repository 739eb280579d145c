// Folders the uninstall never removes or empties, whatever the record says,
// and that undoing an install never removes either:
// the system's own folders, the user's shell and data folders, and every
// folder that holds one of them. A user may have typed any existing folder
// as the setup folder; with the delete-all option the uninstall would
// otherwise wipe, say, the documents folder or C:\Users\.
//
// The same folders decide where a setup folder may lie. Some are kept whole:
// nothing inside the Windows or system folders or the user's document
// folders is a setup folder, since a delete-all uninstall would empty it.
// The others are kept only themselves: below Program Files, AppData or the
// Start menu lies where programs belong.
#pragma once

#include "engine/RunState.h"
#include "script/PathParts.h"

#include <string>
#include <vector>

class ProtectedFolders {
public:
    // `folders` are kept themselves, `wholeFolders` with everything inside
    // them as well; both with every folder above them.
    explicit ProtectedFolders(const std::vector<std::string>& folders,
                              const std::vector<std::string>& wholeFolders = {});

    // Kept themselves: the temporary and Program Files folders, the Start
    // menu folders of the run state (Programs, Startup, Send To), the
    // profile, its AppData folders (Roaming, Local, LocalLow) and every
    // user's application data. Kept whole: the Windows and system folders,
    // the desktops, and the user's and every user's document folders
    // (Documents, Pictures, Music, Videos, Downloads, Favorites, Links,
    // Saved Games, Searches).
    static ProtectedFolders OfThisMachine(const MachineFolders& run);
    // The same, the shell asked and every folder resolved once per run:
    // again only when the run's folders have changed since.
    static const ProtectedFolders& OfRun(const RunState& run);

    // True for a drive or share root, for one of the folders of either kind,
    // and for any folder that contains one of them, compared as the system
    // resolves the paths, case-blind, with or without the trailing
    // backslash. True also for a folder that is no absolute path or too
    // long to name one.
    bool Protects(const std::string& folder) const;

    // True when `folder` may not be a setup folder: it is protected as
    // above, or it lies inside a folder kept whole. Short names, "..",
    // trailing dots and blanks are resolved first.
    bool RefusesAsSetupFolder(const std::string& folder) const;

private:
    // Both lists as the system resolves them, once; folders the system could
    // not supply left out.
    std::vector<std::string> folders_;
    std::vector<std::string> wholeFolders_;
};

// True when `folder` is `outer` or lies below it, compared as the system
// resolves both; false when either is no absolute path or too long to name
// a folder.
bool IsSameOrInside(const std::string& folder, const std::string& outer);

// True when `path`, or a folder between `top` and it (`top` included), is a
// link or other reparse point: what lies there is not below `top` at all.
// Also true when `path` does not lie inside `top`.
bool ReachedThroughLink(const std::string& path, const std::string& top);
