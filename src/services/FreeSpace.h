// Free space on the drive of the setup folder, for the install's space check.
#pragma once

#include <cstdint>
#include <string>

struct FreeSpaceResult {
    bool succeeded = false;
    int64_t freeBytes = -1;  // -1 when measuring failed
};

// The bytes available to the calling user (disk quotas count), through
// GetDiskFreeSpaceExW looked up at run time. `drive` is a drive or folder
// path, "C:" or "C:\" alike.
FreeSpaceResult QueryFreeSpaceEx(const std::string& drive);

// The free bytes from the classic cluster-based call, computed without
// 32-bit overflow; the fallback when the first one fails.
FreeSpaceResult QueryFreeSpace(const std::string& drive);
