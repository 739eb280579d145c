// A setup script read from its file as SETUP.EXE reads it: Shift-JIS, by the
// installer's own profile reader and script model (script/SetupScript.h).
// The file is Shift-JIS, unless it starts with a UTF-8 byte-order mark.
#pragma once

#include "script/SetupScript.h"

#include <filesystem>
#include <optional>
#include <string>

// Nothing, with `error` set, when the file cannot be read.
std::optional<SetupScript> LoadScript(const std::filesystem::path& file, std::string& error);
