#include "uninstall/OrphanedEntry.h"

#include "engine/ProtectedFolders.h"
#include "install/InstallCompletion.h"
#include "script/PathParts.h"
#include "script/ScriptTokens.h"
#include "script/TextCase.h"
#include "services/FileOps.h"
#include "services/RegistryKeys.h"
#include "services/Win32Files.h"
#include "services/Win32Registry.h"

#include <windows.h>

namespace {

// The record an uninstall command names: the text between its first pair of
// double quotes, when the program before it is UNOVSET.EXE; empty otherwise
// (another installer's entry).
std::string RecordOfCommand(const std::string& command)
{
    const size_t open = command.find('"');
    if (open == std::string::npos) return {};
    const size_t close = command.find('"', open + 1);
    if (close == std::string::npos) return {};
    std::string program = command.substr(0, open);
    while (!program.empty() && program.back() == ' ') program.pop_back();
    if (AsciiUpper(FileNamePart(program)) != "UNOVSET.EXE") return {};
    return command.substr(open + 1, close - open - 1);
}

// The same file, as the system resolves both names.
bool SameFile(const std::string& a, const std::string& b)
{
    return IsSameOrInside(a, b) && IsSameOrInside(b, a);
}

}  // namespace

std::vector<std::string> OrphanedEntriesOf(const std::string& record, InstallScope scope)
{
    std::vector<std::string> entries;
    if (!IsAbsoluteFolder(record) || AsciiUpper(FileNamePart(record)) != "UNSETUP.INI") return entries;
    if (AttributesOf(record) != INVALID_FILE_ATTRIBUTES) return entries;
    const std::string list = WithoutTrailingBackslash(UninstallListKey);
    const RegKey programs = OpenRegKey(UninstallEntryRoot(scope), list);
    if (!programs) return entries;
    for (const std::string& name : SubkeyNames(programs.Get())) {
        const RegKey entry = OpenRegKey(programs.Get(), name);
        if (!entry) continue;
        const std::string named = RecordOfCommand(ReadRegString(entry.Get(), "UninstallString"));
        if (!named.empty() && SameFile(named, record)) entries.push_back(UninstallListKey + name);
    }
    return entries;
}

bool RemoveOrphanedEntries(const std::vector<std::string>& keyPaths, InstallScope scope, RunLog& log)
{
    bool allRemoved = true;
    const HKEY root = UninstallEntryRoot(scope);
    for (const std::string& keyPath : keyPaths) {
        DeleteRegistryKey(std::string(scope == InstallScope::User ? ScriptTokens::CurrentUser : ScriptTokens::LocalMachine),
                          keyPath);
        const bool removed = !RegKeyExists(root, keyPath);
        allRemoved = allRemoved && removed;
        log.Line(std::string(removed ? "Orphaned Add/Remove entry removed: " : "Orphaned Add/Remove entry not removed: ") +
                 UninstallEntryRootName(scope) + "\\" + keyPath);
    }
    return allRemoved;
}
