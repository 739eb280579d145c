// The `package` command: the distribution that `layout` makes, laid flat
// into one folder (every disk's files beside SETUP.EXE and SETUP.INI), its
// script without "(Dch)" marks, appended as the payload of PackageFormat.h
// to a copy of the package stub. Started, the stub unpacks the files into a
// fresh temporary folder and runs SETUP.EXE from there.
#pragma once

#include "Layout.h"
#include "Profile.h"

#include <filesystem>
#include <string>
#include <vector>

struct PackageRequest {
    std::filesystem::path sourceFolder;
    std::filesystem::path script;    // SETUP.INI of the source folder
    std::filesystem::path setupExe;
    std::filesystem::path stub;      // ORVSTUB.EXE
    std::filesystem::path output;    // the package; an existing file is replaced
    std::string installerUrl;        // where the package will be downloaded from, for winget
    std::string identifier;          // winget's package identifier; empty: made from the script
};

struct PackagePlan {
    LayoutPlan layout;          // flat: every step on disk 1, each name once
    std::string packagedScript; // SETUP.INI as the package carries it
    std::vector<std::string> problems;
    std::vector<std::string> warnings;
};

// Plans the flat layout into `staging` (a new empty folder) and checks what
// a package adds: plain file names, one file per name, the stub, OUTPUT.
// `scriptText` is the script file's bytes.
PackagePlan PlanPackage(const Profile& script, const std::string& scriptText, const PackageRequest& request,
                        const std::filesystem::path& staging);

// Lays the plan out into `staging` and writes the package; `packed` lists
// the names it holds. Nothing is left at OUTPUT when it fails.
bool CarryOutPackage(const PackagePlan& plan, const PackageRequest& request, const std::filesystem::path& staging,
                     std::vector<std::string>& packed, std::string& error);
