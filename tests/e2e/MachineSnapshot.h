// The state of the test machine that an install and an uninstall may
// change: every file and folder below a drive and every registry key and
// value below HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER. Two snapshots are
// compared entry by entry; the differences that an uninstall keeps on purpose
// are named in an allow-list, and any other difference fails the test.
#pragma once

#include <map>
#include <string>
#include <vector>

// Path of an entry -> what it holds. Paths: "C:\windows\UNOVSET.EXE" for a
// file, "C:\windows\" for a folder, "HKLM\SOFTWARE\Maker\" for a key and
// "HKLM\SOFTWARE\Maker\|Name" for a value ("|" alone for the default value).
using MachineState = std::map<std::string, std::string>;

// Every entry below the folders and registry roots ("HKLM", "HKCU").
MachineState TakeSnapshot(const std::vector<std::string>& folders, const std::vector<std::string>& registryRoots);
// The C: drive and both registry roots: all that a setup may change.
MachineState SnapshotOfMachine();

struct Difference {
    enum Kind { Added, Removed, Changed };
    Kind kind;
    std::string path;
};
std::vector<Difference> Compare(const MachineState& before, const MachineState& after);

// A difference an uninstall keeps on purpose, or one the test machine makes
// by itself, and why. The pattern matches whole paths, case-blind; "*"
// stands for any text (backslashes included), "?" for one character.
struct AllowedDifference {
    std::string pattern;
    std::string reason;
};
bool PathMatches(const std::string& pattern, const std::string& path);

// What Wine changes by itself while programs start and end, whatever they
// do; nothing of it is the program's doing.
extern const std::vector<AllowedDifference> WineSessionChurn;

// The differences that no entry of the allow-list explains.
std::vector<Difference> Unexplained(const std::vector<Difference>& differences,
                                    const std::vector<AllowedDifference>& allowed);

// One line per difference, readable, for the failure message.
std::string Describe(const std::vector<Difference>& differences);
