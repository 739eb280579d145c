// Running a command line of the author's own (a signing tool) through the
// system's command interpreter: /bin/sh on Linux, cmd.exe on Windows.
#pragma once

#include <filesystem>
#include <string>

// `path` quoted for the command interpreter, so that blanks and other
// special characters stay part of the one argument.
std::string QuotedForCommand(const std::filesystem::path& path);

// Runs `commandLine` to its end and gives its exit status; -1 when it
// could not run or was ended by a signal.
int RunCommand(const std::string& commandLine);
