// The sections of the setup script that the install only hands on to the
// uninstall record: [DeleteRegistry] and [AddDeleteFile].
#pragma once

#include "services/LocationTokens.h"

#include <string>
#include <vector>

// [DeleteRegistry] Key1, Key2, ... up to the first empty one, verbatim: root
// token and key path as the uninstaller will read them.
std::vector<std::string> ReadDeleteRegistryKeys(const std::string& scriptPath);

// [AddDeleteFile] File1, File2, ... up to the first empty one, each with its
// location tokens expanded.
std::vector<std::string> ReadAddDeleteFiles(const std::string& scriptPath, const LocationTable& folders);
