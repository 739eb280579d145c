// A setup script read from its file as SETUP.EXE reads it, by the
// installer's own acceptance rule, profile reader and script model
// (script/ScriptAcceptance.h): a file that SETUP.EXE refuses to install
// from (UTF-16, a UTF-8 byte-order mark, a NUL byte, carriage returns
// alone, neither [Title] nor [CopyFile]) cannot be loaded.
#pragma once

#include "script/SetupScript.h"

#include <filesystem>
#include <optional>
#include <string>

// Nothing, with `error` set, when the file cannot be read or SETUP.EXE
// would refuse it.
std::optional<SetupScript> LoadScript(const std::filesystem::path& file, std::string& error);
