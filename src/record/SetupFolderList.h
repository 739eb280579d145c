// OVSET98.INI in the Windows folder (a user install's in the user's own
// folder): the setup folder of the last install of each program that
// declares a program ID, one section per ID.
#pragma once

#include "services/ChangeJournal.h"

#include <string>

// Flushes the system's copy of the file, then, for a non-empty ID, writes
// [programId] Folder = appFolder, recorded in `journal` first.
void RememberSetupFolder(const std::string& listFolder, const std::string& programId,
                         const std::string& appFolder, ChangeJournal& journal);

// The setup folder that the last install of the program used; `fallback`
// when the ID is empty or has no entry.
std::string RememberedSetupFolder(const std::string& listFolder, const std::string& programId,
                                  const std::string& fallback);

// Removes the program's whole section; nothing for an empty ID.
void ForgetProgram(const std::string& listFolder, const std::string& programId);
