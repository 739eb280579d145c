// What the installer reads from a setup script: its numbered lists, its
// [CopyFile] entries and the fixed words of the script language.
#pragma once

#include "Profile.h"
#include "text/ScriptTokens.h"

#include <string>
#include <vector>

// The seventeen location tokens, each standing for a folder of the target
// machine; they match without regard to case.
const std::vector<std::string>& LocationTokens();
bool IsLocationToken(const std::string& token);

// Registry root tokens and value type tokens; both are compared exactly.
const std::vector<std::string>& RegistryRootTokens();
const std::vector<std::string>& RegistryTypeTokens();

inline const std::string kDiskChange(ScriptTokens::DiskChange);

// The installer reads [Relate] Name1/File1 to Name20/File20, gaps or not.
inline constexpr int kRelatePairs = 20;
inline const std::string kPathMark(ScriptTokens::PathData);
inline const std::string kRebootWord = "WINDOWS_REBOOT";

// A numbered list as the installer reads it: `prefix`1, `prefix`2, ... up
// to the first missing or empty value.
std::vector<std::string> ReadList(const Profile& script, const std::string& section, const std::string& prefix);

// One [CopyFile] entry as the copy phase takes it apart.
struct CopyEntry {
    int number = 0;
    std::string value;         // as read
    bool diskChange = false;   // began with "(Dch)" exactly
    std::string sourceName;    // the file-name part of the path before any "|"
    std::string installName;   // the text after "|", or empty
    int disk = 1;              // the disk the source must be on
};
CopyEntry ParseCopyEntry(int number, const std::string& value, int previousDisk);
std::vector<CopyEntry> ReadCopyEntries(const Profile& script);

// A [Registry] value with every "(Pdd)" mark removed (found case-blind),
// as the installer removes them before it reads the type token.
std::string WithoutPathMarks(std::string value);

// [Readme] File as the start-up looks for it in the setup program's
// folder: one leading "\" dropped; empty when there is none.
std::string ReadmeName(const Profile& script);
