// Putting the machine back as a snapshot found it, after the walk-through's
// install and uninstall: what they added is removed again, and the files
// that an install changes in place are given their earlier contents back.
#pragma once

#include "e2e/MachineSnapshot.h"

#include <map>
#include <string>
#include <vector>

// Files that an install may change in place (the shared uninstaller, the
// list of setup folders) or that were there before it and its uninstall
// removes, kept as they were before it.
class SavedFiles {
public:
    // Remembers the file's bytes when it exists.
    void Keep(const std::string& path);
    // Writes the remembered bytes back; false when none were kept or the
    // write failed.
    bool PutBack(const std::string& path) const;

private:
    // Paths compare case-blind, as the file system does.
    struct CaseBlind {
        bool operator()(const std::string& a, const std::string& b) const;
    };
    std::map<std::string, std::string, CaseBlind> bytes_;
};

// Undoes `differences` (later state against a snapshot) as far as it can:
// added values, keys, files and folders are removed, deepest first; changed
// and removed files are put back from `saved`. A new snapshot tells what is
// left.
void UndoDifferences(const std::vector<Difference>& differences, const SavedFiles& saved);
