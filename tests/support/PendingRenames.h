// The system's list of files to rename or delete when Windows next starts
// (Session Manager's PendingFileRenameOperations): read as strings, and
// put back as a test found it, so that the next restart of the test
// prefix replaces or deletes nothing on a test's account.
#pragma once

#include <string>
#include <vector>

// The list's strings in order, in pairs: the file ("\??\C:\..."), then what
// it becomes: "!\??\C:\..." (replacing), "\??\C:\..." or "" (deleted).
// Empty when there is no list.
std::vector<std::string> PendingRenames();

// The path of a "\??\" (or "!\??\") entry as a Windows path; the entry
// itself when it has neither prefix.
std::string PendingRenamePath(const std::string& entry);

// Restores the list as it was made (byte for byte, or no list at all).
class PendingRenamesRestored {
public:
    PendingRenamesRestored();
    ~PendingRenamesRestored();
    PendingRenamesRestored(const PendingRenamesRestored&) = delete;
    PendingRenamesRestored& operator=(const PendingRenamesRestored&) = delete;

private:
    bool existed_ = false;
    unsigned long type_ = 0;
    std::vector<unsigned char> bytes_;
};

// Empties the list, so that a restart does only what the test asks for (a
// PendingRenamesRestored made before puts it back).
void ClearPendingRenames();

// Does what Windows does with the list when it next starts: Wine's restart
// processing ("wineboot -r") renames and deletes as the list asks and empties
// it. False when it could not be run.
bool RunRestartProcessing();
