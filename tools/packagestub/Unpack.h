// Writing the checked records out as files of the unpack folder, each under
// its own name (converted from Shift-JIS with code page 932, whatever the
// system's code page), with the author's time stamp, and its CRC checked
// over the very bytes written.
#pragma once

#include "PackageFormat.h"

#include <string>
#include <vector>

enum class UnpackResult { Done, Damaged, CannotWrite };

UnpackResult UnpackRecords(const std::vector<PackageFormat::Record>& records, const std::wstring& folder);
