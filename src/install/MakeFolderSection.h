// The [MakeFolder] section of the setup script: Folder<n>, one folder each.
#pragma once

#include "services/LocationTokens.h"

#include <string>
#include <vector>

// Folder1, Folder2, ... up to the first empty one, as written.
std::vector<std::string> ReadMakeFolderItems(const std::string& scriptPath);

// The folder to create: a trailing "\" added when missing, then tokens expanded.
std::string ParseMakeFolder(const std::string& value, const LocationTable& folders);
