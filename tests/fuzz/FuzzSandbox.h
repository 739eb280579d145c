// Where the fuzzed runs may write, and how the driver finds out when one
// wrote anywhere else.
//
// Folders: every location token of the run state (Windows, system, Program
// Files, temporary, the boot, setup and source roots, every shell folder) and
// the setup folder lie in one sandbox folder on C:, four folders deep, so that
// the parent folders a script may name after a token ("(App)..\") stay in it.
//
// Registry: the script's [Registry], [DeleteRegistry] and [Relate] name the
// real roots, and the install writes the Add/Remove entry and the shared
// component counts below HKEY_LOCAL_MACHINE by design. Rather than tell the
// designed writes apart from the others afterwards (a rule that would have to
// trust the very record under test), the driver redirects the four roots the
// program opens (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, HKEY_CLASSES_ROOT,
// HKEY_USERS) for this process to scratch keys (RegOverridePredefKey), which
// it empties before each input. Every designed write then lands in the
// scratch keys, and the rule is simple: any difference in the real hives is
// a touch outside the sandbox.
//
// Detection: a snapshot of the C: drive (without the sandbox) and of the
// real HKEY_LOCAL_MACHINE\Software, HKEY_CURRENT_USER\Software (without the
// scratch keys) and HKEY_USERS\.DEFAULT\Software, taken with the redirection
// lifted, before and after each batch of inputs; files are compared by size,
// attributes and last write time, keys by their last write time and their
// counts of subkeys and values (a key's write time moves whenever a value of
// it is set or deleted or a subkey made or deleted). The mutations aim
// at victim files in C:\ORVVICTIM\ (through "..", device and network paths),
// so that a path that escapes shows as a change there.
#pragma once

#include <map>
#include <utility>
#include <string>
#include <vector>

class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    // False, with the reason, when the registry cannot be redirected.
    bool Ready(std::string& reason) const;

    // A fresh sandbox: its folders emptied and made again, the scratch keys
    // emptied, the redirection in place, the current folder the sandbox's.
    void Reset();
    // The redirection lifted (for snapshots) or put back.
    void Redirect(bool on);

    // Makes `link` a link to the folder `target` (a Unix symbolic link, as
    // Wine shows a junction: support/FolderLinks.h), removed again at the
    // next Reset; false when it could not be made.
    bool Link(const std::string& link, const std::string& target);
    // The links made since the last Reset, each with its target.
    const std::vector<std::pair<std::string, std::string>>& Links() const { return links_; }

    std::string root;  // C:\ORVFUZZ\<process id>\, with a trailing backslash
    std::string deep;  // the folder four levels below the root that holds the rest
    std::string Folder(const std::string& name) const { return deep + name + "\\"; }

private:
    void RemoveLinks();

    std::vector<std::pair<std::string, std::string>> links_;
    std::string scratchKey_;  // below the real HKEY_CURRENT_USER
    bool redirected_ = false;
    std::string failure_;
};

// Path -> what it holds; "file size ... written ...", "key", "value ...".
using MachineEntries = std::map<std::string, std::string>;
MachineEntries SnapshotOutside();
// One line per difference ("added C:\x", "removed HKLM\...", "changed ...").
std::vector<std::string> Differences(const MachineEntries& before, const MachineEntries& after);

// The victim files in VictimFolder, made again as they were.
void PlaceVictims();
void RemoveVictims();
