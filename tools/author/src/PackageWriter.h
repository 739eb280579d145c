// Writes a package file (PackageFormat.h): the stub's bytes, one record per
// file, the trailer. The caller makes it in a folder of its own and puts it
// at OUTPUT once it is complete and signed (PlaceFile).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct PackedFile {
    std::string name;  // Shift-JIS, a plain file name
    std::filesystem::path from;
};

bool WritePackage(const std::filesystem::path& stub, const std::vector<PackedFile>& files,
                  const std::filesystem::path& output, std::string& error);
