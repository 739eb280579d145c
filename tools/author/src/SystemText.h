// The one place that knows the system: how its file names, command-line
// arguments and console relate to the Shift-JIS text of setup scripts.
// Linux names and consoles are UTF-8 (converted with iconv); Windows names
// are UTF-16 and its console shows its own code page.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

// A file name of the system as Shift-JIS, or nothing when code page 932
// cannot hold it.
std::optional<std::string> Cp932FromSystemName(const std::filesystem::path& name);

// A Shift-JIS name as the system spells it, or nothing when it is not valid
// Shift-JIS.
std::optional<std::filesystem::path> SystemNameFromCp932(const std::string& name);

// A command-line argument as a path (Linux: UTF-8 bytes; Windows: the
// system's ANSI code page).
std::filesystem::path PathFromArgument(const std::string& argument);

// A command-line argument's text in UTF-8 (Linux: as it is; Windows: from
// the system's ANSI code page), or nothing when it cannot be converted.
std::optional<std::string> Utf8FromArgument(const std::string& argument);

// A path for a message: Shift-JIS, with "?" for what code page 932 lacks.
std::string DisplayPath(const std::filesystem::path& path);

// UTF-8 text (a script saved with a UTF-8 byte-order mark) as Shift-JIS,
// or nothing when it cannot be converted.
std::optional<std::string> Cp932FromUtf8(const std::string& text);

// Shift-JIS text as UTF-8; a byte that is not part of a valid character
// comes out as \xNN. Used for Linux output and by tests on any system.
std::string Utf8FromCp932(const std::string& text);

// Writes one line of Shift-JIS text so that a person reads it: UTF-8 on
// Linux; on Windows the characters themselves to a console, or the
// Shift-JIS bytes to a file or pipe.
void WriteLine(std::FILE* stream, const std::string& text);
