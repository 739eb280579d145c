#include "record/SetupFolderList.h"

#include "script/PathParts.h"
#include "text/IniFile.h"

#include <windows.h>

namespace {

std::string SetupFolderListPath(const std::string& windowsFolder)
{
    return WithoutTrailingBackslash(windowsFolder) + "\\OVSET98.INI";
}

}  // namespace

void RememberSetupFolder(const std::string& windowsFolder, const std::string& programId,
                         const std::string& appFolder, ChangeJournal& journal)
{
    const std::string path = SetupFolderListPath(windowsFolder);
    FlushProfile(path);
    if (programId.empty()) return;
    JournalIniEntry(journal, path, programId, "Folder");
    WriteProfile(programId, "Folder", appFolder, path);
}

std::string RememberedSetupFolder(const std::string& windowsFolder, const std::string& programId,
                                  const std::string& fallback)
{
    if (programId.empty()) return fallback;
    return ReadProfile(programId, "Folder", fallback, SetupFolderListPath(windowsFolder));
}

void ForgetProgram(const std::string& windowsFolder, const std::string& programId)
{
    if (programId.empty()) return;
    const std::string path = SetupFolderListPath(windowsFolder);
    FlushProfile(path);
    DeleteProfileSection(programId, path);
}
