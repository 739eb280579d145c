// The product this script installs, as an earlier install left it: its
// Add/Remove entry (the key the install writes) and the record in the folder
// the entry names. Where a new install goes, and whether it may go at all,
// follow from how its version stands to the installed one.
#pragma once

#include "engine/RunState.h"
#include "script/ProductVersion.h"

#include <windows.h>

#include <optional>
#include <string>

struct InstalledProduct {
    std::string version;  // DisplayVersion, as written; empty when missing
    std::string folder;   // InstallLocation, with a trailing backslash
};

// The entry `keyPath` below `root` (HKEY_LOCAL_MACHINE for a machine's
// install) and the record in its folder; nothing when either is missing
// (an entry whose folder was deleted by hand installs nothing any more).
std::optional<InstalledProduct> FindInstalledProduct(HKEY root, const std::string& keyPath);

struct InstalledComparison {
    std::optional<InstalledProduct> installed;
    VersionOrder order = VersionOrder::Unknown;  // of this script's version to the installed one
    // The folder an install goes into by default: the installed product's,
    // unless the order is unknown (the setup folder is chosen as it always
    // was then). Empty when there is none.
    std::string DefaultFolder() const
    {
        return installed && order != VersionOrder::Unknown ? installed->folder : std::string();
    }
};

// Looks for this run's script's product below `root` and compares the
// versions; the log says what was found. Nothing is found for a setup-only
// script, which writes no entry.
InstalledComparison CompareWithInstalled(RunState& state, HKEY root);
