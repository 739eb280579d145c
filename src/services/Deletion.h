// Silent deletion of files, wildcard sets and folders. Results are 0 or the
// system's error code, which the callers put into their failure reports.
#pragma once

#include <string>
#include <vector>

// Deletes one file or every file matching a pattern (never a folder),
// without confirmation and not into the recycle bin. A missing file without wildcards gives 2 and touches
// nothing; a pattern that matches no file gives 0.
unsigned long DeleteFiles(const std::string& path);

// The files (never the folders) a pattern matches, as the deletion above
// takes them: a name Shift-JIS cannot hold is left out.
std::vector<std::string> FilesMatching(const std::string& pattern);

// Deletes each of the "|"-separated names or patterns inside `folder`, then
// the folder itself. The result is that of removing the folder: a folder that
// is not empty stays and gives the system's code for that (145, or 5).
unsigned long RemoveFolder(const std::string& folder, const std::string& names);

// Deletes everything inside `folder`, its subfolders with all their contents
// included, then the folder itself; the result is that of removing the
// folder. Only for a folder that the caller has made sure is the
// application's own.
unsigned long RemoveFolderTree(const std::string& folder);
