// The registry side of an uninstall: the keys the setup script listed for
// removal, the file associations given back as they were before the first
// install, and the program's entry in the list of installed programs.
// Nothing here is reported; a key that cannot be removed stays.
#pragma once

#include "services/RunLog.h"

#include <string>

// Every DeleteRegistry key of the record, with its subkeys.
void RemoveRecordedRegistryKeys(const std::string& record, RunLog& log);

// Every RestoreRelate entry: the extension gets back its earlier file type,
// or loses its key when it had none; the file type the install made is
// removed unless it is the one given back. An extension whose earlier type
// cannot be written back is left exactly as it is.
void RestoreAssociations(const std::string& record, RunLog& log);

// The record's UnSetupRegistryKey below HKEY_LOCAL_MACHINE; nothing when
// the record names none.
void RemoveUninstallEntry(const std::string& record, RunLog& log);
