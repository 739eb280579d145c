// The [CopyFile] section of the setup script: the files to install, each
// File<n> of the form [(Dch)] destination [| name] [, switches].
#pragma once

#include "script/LocationTokens.h"

#include <string>

// The destination name that stands for the name stored in the compressed
// file until the expansion gives it that name (compared exactly, letter
// case included).
inline constexpr const char* ExpandedNamePlaceholder = "AUTO.EXT";

struct CopyEntry {
    bool diskChange = false;  // the value began with "(Dch)", exactly
    std::string pathPart;     // the value without "(Dch)" and without the switches
    // The installed path. A compressed source without "|" goes to its folder
    // under the placeholder name, which the expansion replaces with the name
    // stored in the file.
    std::string destination;
    std::string source;       // the source folder and the file-name part before any "|"
    std::string switches;     // from the first comma to the end, comma included, or empty
    bool compressed = false;  // the source name ends in "_"

    // The switches are found anywhere in the switch text, case ignored.
    bool Shared() const;          // "/S"
    bool AlwaysWrite() const;     // "/W"
    bool SelfRegistering() const; // "/R"
};

// The copy phase's reading of File<n>: tokens expanded, "(Dch)" tested and
// removed, the switches cut off at the first comma, the rename cut off at
// the first "|", then source (taken from `sourceFolder`) and destination.
CopyEntry ParseCopyEntry(const std::string& value, const std::string& sourceFolder, const LocationTable& folders);

// The measuring phase's reading of File<n>: no expansion and no "(Dch)" test;
// the file-name part of the value cut at its first "," and then its first "|".
std::string MeasuredSourceName(const std::string& value);
