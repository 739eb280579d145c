// The [IniFile] section of the setup script: Data<n> of the form
// section,key,value,file, an entry to write into another INI file.
#pragma once

#include "script/LocationTokens.h"

#include <string>

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
