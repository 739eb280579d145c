// The `layout` command: from a source folder (SETUP.INI and the
// application's uncompressed files) to the distribution folder that
// SETUP.EXE installs from.
//
// - Without "(Dch)" entries the distribution is flat. With them it has one
//   folder per disk, DISK1, DISK2, ...: DISK1 holds SETUP.EXE, SETUP.INI,
//   the readme and the entries before the first "(Dch)" entry; each "(Dch)"
//   entry starts the next disk. SETUP.EXE is also put on the last disk,
//   because the installer copies it from there as the uninstaller at the end.
// - A source name ending in "_" is compressed from its original in the
//   source folder: the file with the same name but another last character
//   (README.TX_ from README.TXT, A._ from A.C), or the name without the "_"
//   (README.TXT_ from README.TXT, README._ from README). When there is no
//   original but the "_" file itself is there, compressed, it is copied.
// - Every other source is copied. Names are found without regard to case
//   and written as the script spells them; time stamps are kept.
#pragma once

#include "script/SetupScript.h"

#include <filesystem>
#include <string>
#include <vector>

struct LayoutRequest {
    std::filesystem::path sourceFolder;
    std::filesystem::path script;  // SETUP.INI of the source folder
    std::filesystem::path setupExe;
    std::filesystem::path destination;  // must be missing or empty
};

struct LayoutStep {
    enum class Kind { Copy, Compress } kind = Kind::Copy;
    std::filesystem::path from;
    int disk = 1;
    std::string name;  // Shift-JIS, relative to the disk folder, "\" between parts
    unsigned char storedChar = 0;
};

struct LayoutPlan {
    int diskCount = 1;
    std::vector<LayoutStep> steps;
    std::vector<std::string> problems;  // the layout cannot be made
    std::vector<std::string> warnings;  // it can, but the author should look
};

LayoutPlan PlanLayout(const SetupScript& script, const LayoutRequest& request);

// Makes the distribution; `made` lists each file written, as
// "DISK2\DATA.BI_". Stops at the first failure.
bool CarryOutLayout(const LayoutPlan& plan, const std::filesystem::path& destination, std::vector<std::string>& made,
                    std::string& error);
