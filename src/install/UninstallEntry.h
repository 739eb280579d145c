// The Add/Remove Programs entry of an install: the two values every entry
// has (the name and the uninstall command), the quiet command that
// deployment tools run, and what Apps & Features and package managers show
// about the program: version, publisher, web address, icon, folder, size,
// date, that it offers no change, and the command that repairs it.
#pragma once

#include "script/ProductSection.h"
#include "services/ChangeJournal.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

struct UninstallEntryValues {
    std::string displayName;
    std::string command;         // the uninstaller on the record
    ProductFacts product;        // empty facts are left out
    std::string defaultIcon;     // when the script names none: the uninstaller
    std::string installLocation; // the setup folder
    uint32_t estimatedKilobytes = 0;
    std::string installDate;     // YYYYMMDD
    // The distribution's SETUP.EXE with /REPAIR (RepairString, NoRepair = 0);
    // empty: NoRepair = 1.
    std::string repairCommand;
};

// Creates the key below `root` and writes its values; a value the script no longer gives
// is removed, so that a reinstall leaves no stale version or publisher. The
// registry layer raises when the system refuses. Every change is recorded in
// `journal` first.
void WriteUninstallEntry(HKEY root, const std::string& keyPath, const UninstallEntryValues& values, ChangeJournal& journal);

// The kilobytes (rounded up) of the files a record lists, as they lie on
// the disk now; an entry is a path, optionally followed by ",switches".
uint32_t InstalledKilobytes(const std::vector<std::string>& recordedFiles);
