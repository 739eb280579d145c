// Writing the uninstall record, UNSETUP.INI in the setup folder: what the
// uninstaller reads to undo the install.
//
// The record is built in the work folder and put in place over the earlier
// one with a single replacing move once its lists are written, so a setup
// folder never lacks a record, whenever the install stops. The completion
// then adds the Add/Remove Programs key (before it creates that entry) and
// the program ID (after it) to the record in place.
#pragma once

#include "record/UninstallLists.h"
#include "script/InstallScope.h"

#include <functional>
#include <optional>
#include <string>

struct UninstallRecordInput {
    std::string recordPath;    // the setup folder's UNSETUP.INI
    std::string workFolder;    // where the new record is built, with a trailing "\"
    std::string unSetupOption; // the script's [Extend] UnSetupOption
    std::string unSetupTitle;  // [Title] UnSetup
    std::string appFolder;     // [SetupFolder] Folder
    // [SetupFolder] Made=1: the install made the setup folder (this one, or
    // an earlier install of the same program whose record it took over).
    // Only then may a delete-all uninstall take everything below it.
    bool setupFolderMade = false;
    // [SetupFolder] Scope=User: a user install, whose Add/Remove entry,
    // associations and own files the uninstall finds under the user's.
    InstallScope scope = InstallScope::Machine;
};

// Called with each list before its section is written, and with nothing
// before the restore slots; the caller shows where the writing is.
using RecordProgress = std::function<void(std::optional<RecordList> list)>;

// Writes [Information], [Title], [SetupFolder], the five list sections (each
// item numbered as FindNumberedKey would number it, an earlier "/S" kept in
// [DeleteFile]), [RestoreRelate] and [UnSetupOption] (the script's [Extend]
// UnSetupOption, when not empty), one system call per section, then moves
// the result over RecordPath. Returns 0, or the system's error code when a
// section could not be written or the record could not be put in place; the
// earlier record is then left untouched.
unsigned long WriteUninstallRecord(const UninstallRecordInput& input, const UninstallLists& lists,
                                   const RestoreSlots& slots, const RecordProgress& progress);

// True when the record says that the install made its setup folder. A
// record that does not say so (one written before records said it) counts
// as a folder that was there before.
bool RecordedSetupFolderMade(const std::string& recordPath);

// For whom the record's install was made; a record that does not say so
// is a machine install's.
InstallScope RecordedScope(const std::string& recordPath);

// [UnSetupRegistryKey] Key: the Add/Remove Programs key below
// HKEY_LOCAL_MACHINE (a user install's below HKEY_CURRENT_USER).
void WriteUnSetupRegistryKey(const std::string& recordPath, const std::string& keyPath);

// [ProgramID] ID, written also when the ID is empty.
void WriteProgramId(const std::string& recordPath, const std::string& programId);

// The name under which the record is built in the work folder.
constexpr const char* RecordBuildName = "UNSETUPN.INI";
