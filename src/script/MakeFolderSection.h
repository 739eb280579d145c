// The [MakeFolder] section of the setup script: Folder<n>, one folder each.
#pragma once

#include "script/LocationTokens.h"

#include <string>

// The folder to create: a trailing "\" added when missing, then tokens expanded.
std::string ParseMakeFolder(const std::string& value, const LocationTable& folders);
