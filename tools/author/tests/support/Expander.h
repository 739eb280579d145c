// The independent expander that the compressor's output is checked against:
// Debian's msexpand on Linux, the system's LZ32 (LZOpenFileA and LZCopy, as
// SETUP.EXE calls them) on Windows.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

// The expanded bytes of a compressed file, or nothing when the expander
// failed.
std::optional<std::vector<uint8_t>> ExpandIndependently(const std::filesystem::path& compressed);

// Runs a shell command line (Linux only); its exit status.
int RunShell(const std::string& commandLine);
// A path in single quotes for the shell.
std::string ShellQuoted(const std::filesystem::path& path);
