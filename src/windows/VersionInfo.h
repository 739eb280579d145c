// The version of the running program as the background window shows it,
// read from the Japanese string table of the executable's version resource.
#pragma once

#include <string>

struct VersionNumbers {
    int major = 0;
    int minor = 0;
    int release = 0;
    int build = 0;
};

// The numbers of "StringFileInfo\041103a4\FileVersion" of `file`. False,
// with `numbers` unchanged, when the file has no version information. A
// part that is no decimal integer counts as 0.
bool ReadVersionNumbers(const std::string& file, VersionNumbers& numbers);
bool ReadVersionNumbers(const std::wstring& file, VersionNumbers& numbers);

// The numbers of a FileVersion text such as "1.0.5.7": up to three numbers
// each ended by a point, then the build number.
VersionNumbers ParseVersionNumbers(const std::string& text);

// Major, ".", minor and release written one after the other and read as one
// number shown with at least two digits, then "(Build:" and the build number
// with at least four digits and ")": 1.0.5.7 gives 1.05(Build:0007).
std::string VersionText(const VersionNumbers& numbers);
