// The [Relate] section of the setup script: file associations. Name<n> holds
// an extension and its description, File<n> the shell verb, the program, its
// arguments and the icon index.
#pragma once

#include "script/LocationTokens.h"

#include <string>
#include <vector>

constexpr int MaxRelateRows = 20;

// One pair of the association table, both sides as the script holds them;
// the file side is expanded only when the association is made, once the
// setup folder is known. All 20 pairs are read; a pair counts only when both
// sides are non-empty, and the counted pairs close up into rows 1, 2, ... in
// their order (SetupScript::relate).
struct RelateRow {
    std::string name;
    std::string file;
};


struct RelateName {
    std::string extension;    // without its dot
    std::string description;  // the extension and " File" when none is given
};

// Name<n>: "extension" or "extension,description", verbatim.
RelateName ParseRelateName(const std::string& name);

struct RelateFile {
    std::string verb;
    std::string program;                 // unquoted
    std::vector<std::string> arguments;  // the non-empty middle fields
    std::string iconIndex;
    std::string command;      // the program, quoted when it holds a blank, then " " and each argument
    std::string defaultIcon;  // the program, "," and the icon index
};

// File<n>: "verb,program,argument,...,icon", location tokens expanded first.
// With fewer than two commas the program is empty.
RelateFile ParseRelateFile(const std::string& file, const LocationTable& folders);
