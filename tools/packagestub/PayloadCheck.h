// Everything about the package that can be checked before anything is
// made, written or started: the trailer (before the signature, when the
// package is signed) and where it says the payload lies, the payload's
// SHA-256, each record's name and size, and that SETUP.EXE and SETUP.INI
// are among the files. Each file is checked again as it was written
// (Unpack.h).
#pragma once

#include "packageformat/PackageFormat.h"

#include <cstdint>
#include <optional>
#include <vector>

// The records of the package file `image` of `size` bytes, or nothing when
// it is damaged.
std::optional<std::vector<PackageFormat::Record>> CheckedRecords(const uint8_t* image, uint64_t size);
