// What the directory tells about one file: its size and its last-write time,
// as the install measures and compares its source files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What one look-up of `path` tells: its attributes and its size, all 64
// bits of it. The look-up admits every attribute (hidden, system,
// read-only, folders). Empty when it finds nothing.
struct FoundFile {
    uint32_t attributes = 0;
    int64_t size = 0;
    bool IsFolder() const { return (attributes & 0x10) != 0; }  // FILE_ATTRIBUTE_DIRECTORY
};
std::optional<FoundFile> FindFile(const std::string& path);

// The size that FindFile reports.
std::optional<int64_t> FoundFileSize(const std::string& path);

// The last-write time of the file as a packed DOS date and time in local
// time: the date in the high 16 bits, the time in the low 16 bits, two-second
// resolution. A later stamp is the greater number; the stamps of 2044 and
// later set the top bit, so they compare right only unsigned. Empty when the
// file's time cannot be read.
std::optional<uint32_t> DosTimeStamp(const std::string& path);

// True when `path` was last written later than `than`, to the system's full
// resolution. A missing file is older than any existing one; two missing
// files are equal.
bool IsNewer(const std::string& path, const std::string& than);
