// The setup script, SETUP.INI, parsed once: every section the installer
// reads, each list ended where the installer ends it and each key with the
// installer's default. SETUP.EXE installs from this value, and the author
// tools predict from it what SETUP.EXE will do. What a value means on a
// machine (its location tokens expanded, its fields cut apart) is given by
// the parsers of each section (CopyFileSection.h, RegistrySection.h, ...),
// which take the machine's folders.
#pragma once

#include "script/ProductSection.h"
#include "script/ProfileText.h"
#include "script/RegistrySection.h"
#include "script/RelateSection.h"
#include "script/ShortCutSection.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The header sections, read at the start of a run. An uninstall record
// holds [Title] and [Extend] with the same meaning.
struct ScriptHeader {
    std::string setupTitle;    // [Title] Setup, "Orvane" when missing
    std::string unSetupTitle;  // [Title] UnSetup, else the setup title
    // The Add/Remove Programs entry: its key name ([Title] UnSetupKey, else
    // the uninstall title) and the name it shows ([Title] UnSetupDisplay,
    // else the key name).
    std::string addRemoveKey;
    std::string addRemoveName;
    // [Extend] SetupSpeed: the pause between install steps in milliseconds;
    // 400 when missing or no integer, at least 1.
    int32_t setupSpeed = 400;
    // [Extend] Enabled: only "False", exactly, locks the settings.
    bool settingsChangeable = true;
    // [Extend] UnSetupOption, copied into the uninstall record.
    std::string unSetupOption;
    std::string defaultFolder;  // [DefaultFolder] Folder, "(Prg)\" when missing
    std::string referRegistry;  // [DefaultFolder] ReferRegistry
    std::string programId;      // [ProgramID] ID
    std::array<std::string, 5> topMessages;  // [TopMessage] Message1 to Message5
    std::string readmeFile;        // [Readme] File, as written
    std::string readmeTitle;       // [Readme] Title
    std::string readmeScrollBars;  // [Readme] ScrollBars, "ssVertical" when missing
};

ScriptHeader ReadScriptHeader(const ProfileText& profile);

// [Readme] File as the start-up looks for it in the distribution folder:
// one leading "\" dropped.
std::string ReadmeName(const ScriptHeader& header);

// A script whose uninstall title holds "Setup Only." (found case-blind)
// installs without an uninstall record and an Add/Remove entry.
bool IsSetupOnly(const std::string& unSetupTitle);

// [ExecuteFile] File exactly so asks for the restart at the end instead of
// starting a program.
inline constexpr const char* RebootRequest = "WINDOWS_REBOOT";

struct SetupScript {
    ProfileText profile;  // the file as the profile reader reads it
    ScriptHeader header;
    ProductFacts product;
    // The action sections, in the order the install reads them. Each list
    // ends at its first missing or empty value (File1, File2, ...), [Relate]
    // excepted; values are as written, tokens not yet expanded.
    std::vector<RelateRow> relate;          // the counted pairs of the twenty
    std::vector<std::string> copyFiles;     // [CopyFile] File<n>
    std::vector<std::string> makeFolders;   // [MakeFolder] Folder<n>
    std::vector<ShortcutItem> shortcuts;    // [ShortCut] Make<n>, Name<n>
    std::vector<RegistryItem> registry;     // [Registry] Key<n>, Name<n>, Value<n>
    std::vector<std::string> iniFiles;      // [IniFile] Data<n>
    std::vector<std::string> deleteRegistry;  // [DeleteRegistry] Key<n>, kept verbatim
    std::vector<std::string> addDeleteFiles;  // [AddDeleteFile] File<n>, expanded when collected
    std::string executeFile;                // [ExecuteFile] File
};

// The script of `text` (the file's bytes, Shift-JIS).
SetupScript ParseSetupScript(const std::string& text);
SetupScript ParseSetupScript(ProfileText profile);
