// Folders the uninstall never removes or empties, whatever the record says,
// and that undoing an install never removes either:
// the system's own folders, the user's shell and data folders, and every
// folder that holds one of them. A user may have typed any existing folder
// as the setup folder; with the delete-all option the uninstall would
// otherwise wipe, say, the documents folder or C:\Users\.
#pragma once

#include "engine/RunState.h"
#include "script/PathParts.h"

#include <string>
#include <vector>

class ProtectedFolders {
public:
    explicit ProtectedFolders(std::vector<std::string> folders) : folders_(std::move(folders)) {}

    // The temporary, Windows, system and Program Files folders and the nine
    // shell folders of the run state, with the folders the shell names for
    // the user's profile, documents and application data, the common
    // documents and application data, and both Program Files folders.
    static ProtectedFolders OfThisMachine(const MachineFolders& run);

    // True for a drive or share root, for one of the folders, and for any
    // folder that contains one of them, compared as the system resolves the
    // paths, case-blind, with or without the trailing backslash. True also
    // for a folder that is no absolute path or too long to name one.
    bool Protects(const std::string& folder) const;

private:
    std::vector<std::string> folders_;
};

// True when `folder` is `outer` or lies below it, compared as the system
// resolves both; false when either is no absolute path or too long to name
// a folder.
bool IsSameOrInside(const std::string& folder, const std::string& outer);
