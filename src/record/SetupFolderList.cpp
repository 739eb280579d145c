#include "record/SetupFolderList.h"

#include "script/PathParts.h"
#include "text/IniFile.h"

#include <windows.h>

namespace {

std::string SetupFolderListPath(const std::string& listFolder)
{
    return WithoutTrailingBackslash(listFolder) + "\\OVSET98.INI";
}

}  // namespace

void RememberSetupFolder(const std::string& listFolder, const std::string& programId,
                         const std::string& appFolder, ChangeJournal& journal)
{
    const std::string path = SetupFolderListPath(listFolder);
    FlushProfile(path);
    if (programId.empty()) return;
    JournalIniEntry(journal, path, programId, "Folder");
    WriteProfile(programId, "Folder", appFolder, path);
}

std::string RememberedSetupFolder(const std::string& listFolder, const std::string& programId,
                                  const std::string& fallback)
{
    if (programId.empty()) return fallback;
    return ReadProfile(programId, "Folder", fallback, SetupFolderListPath(listFolder));
}

void ForgetProgram(const std::string& listFolder, const std::string& programId)
{
    if (programId.empty()) return;
    const std::string path = SetupFolderListPath(listFolder);
    FlushProfile(path);
    DeleteProfileSection(programId, path);
}
