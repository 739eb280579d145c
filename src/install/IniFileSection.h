// The [IniFile] section of the setup script: Data<n> of the form
// section,key,value,file, an entry to write into another INI file.
#pragma once

#include "services/LocationTokens.h"

#include <string>
#include <vector>

// Data1, Data2, ... up to the first empty one, as written.
std::vector<std::string> ReadIniFileItems(const std::string& scriptPath);

struct IniFileEntry {
    std::string section;
    std::string key;
    std::string value;
    std::string file;  // everything after the third comma, so only it may hold commas
};

// Tokens expanded in the whole value, then three fields taken off the front,
// each up to its comma; a missing comma gives an empty field and removes
// nothing.
IniFileEntry ParseIniFileEntry(const std::string& data, const LocationTable& folders);
