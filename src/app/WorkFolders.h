// The run's work folders: "OVTMP1" to "OVTMP99" under the temporary folder.
// A run takes the first that does not exist; the close removes them all, so
// that those of earlier runs that did not close go too.
#pragma once

#include <string>

inline constexpr int WorkFolderLimit = 99;

// The work folder numbered `n`, with a trailing backslash.
inline std::string WorkFolderPath(const std::string& tempFolder, int n)
{
    return tempFolder + "OVTMP" + std::to_string(n) + "\\";
}
