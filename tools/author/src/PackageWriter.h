// Writes a package file (PackageFormat.h): the stub's bytes, one record per
// file, the trailer. The file is made under a temporary name beside OUTPUT
// and renamed to OUTPUT only once it is complete, so that a failure never
// leaves a partial package (nor destroys an older one).
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
