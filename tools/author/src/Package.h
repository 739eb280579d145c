// The `package` command: the distribution that `layout` makes, laid flat
// into one folder (every disk's files beside SETUP.EXE and SETUP.INI), its
// script without "(Dch)" marks, appended as the payload of PackageFormat.h
// to a copy of the package stub. Started, the stub unpacks the files into a
// fresh temporary folder and runs SETUP.EXE from there.
#pragma once

#include "Layout.h"
#include "WingetManifest.h"

#include <filesystem>
#include <string>
#include <vector>

struct PackageRequest {
    std::filesystem::path sourceFolder;
    std::filesystem::path script;    // SETUP.INI of the source folder
    std::filesystem::path setupExe;
    std::filesystem::path stub;      // ORVSTUB.EXE
    std::filesystem::path output;    // the package; an existing file is replaced
    std::string signCommand;         // the author's signing command (Signing.h); empty: unsigned
    WingetOptions winget;            // what the options give the manifests
};

struct PackagePlan {
    LayoutPlan layout;          // flat: every step on disk 1, each name once
    std::string packagedScript; // SETUP.INI as the package carries it
    std::vector<std::string> problems;
    std::vector<std::string> warnings;
};

// Plans the flat layout into the folder "files" of `work` (a new empty
// folder) and checks what a package adds: plain file names, one file per
// name, the stub, OUTPUT, the signing command. `scriptText` is the script
// file's bytes.
PackagePlan PlanPackage(const SetupScript& script, const std::string& scriptText, const PackageRequest& request,
                        const std::filesystem::path& work);

// Lays the plan out, signs SETUP.EXE, writes the package into the folder
// "package" of `work`, signs it, and only then puts it at OUTPUT; `packed`
// lists the names it holds. Nothing is left at OUTPUT when it fails (an
// older OUTPUT stays as it was).
bool CarryOutPackage(const PackagePlan& plan, const PackageRequest& request, const std::filesystem::path& work,
                     std::vector<std::string>& packed, std::string& error);
