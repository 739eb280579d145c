// The SHA-256 of a file, as package managers name the installer they
// download: 64 upper-case hexadecimal digits.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The digest of a file's content, read in pieces; nothing, with `error` set,
// when the file cannot be read.
std::optional<std::string> FileSha256Hex(const std::filesystem::path& file, std::string& error);
