// Whole-file reads and writes, with the reason for a failure in words.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

bool ReadFileBytes(const std::filesystem::path& file, std::vector<uint8_t>& bytes, std::string& error);
bool WriteFileBytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes, std::string& error);

// Copies a file and its time stamp (the installer's overwrite decision
// compares time stamps).
bool CopyWithTimeStamp(const std::filesystem::path& from, const std::filesystem::path& to, std::string& error);

// Puts the finished file `from` at `to`: copied beside `to` under a
// temporary name (`to` with ".partial") and renamed over it, so that `to`
// is at every moment either the older file or the whole new one.
bool PlaceFile(const std::filesystem::path& from, const std::filesystem::path& to, std::string& error);

// The character stored in the header of a compressed file (0 for none), or
// nothing when the file does not start with the format's magic bytes.
std::optional<unsigned char> StoredLastChar(const std::filesystem::path& file);
