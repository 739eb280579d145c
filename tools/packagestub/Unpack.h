// Writing the checked records out as files of the unpack folder, each under
// its own name (converted from Shift-JIS with code page 932, whatever the
// system's code page), with the author's time stamp. Each file is written
// with no sharing at all, then held open for reading with no sharing for
// writing or deleting, and read back through that handle: from then on
// nothing can change it until SETUP.EXE has started from it, and what was
// read back is what SETUP.EXE starts with.
#pragma once

#include "packageformat/PackageFormat.h"
#include "services/Win32Files.h"

#include <string>
#include <vector>

enum class UnpackResult { Done, Damaged, CannotWrite };

// The unpacked files, held as above until they are let go.
using HeldFiles = std::vector<FileHandle>;

UnpackResult UnpackRecords(const std::vector<PackageFormat::Record>& records, const std::wstring& folder,
                           HeldFiles& held);
