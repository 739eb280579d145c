// Measuring the space that the install needs, and the check of the free
// space on the setup folder's drive.
#pragma once

#include "install/InstallFlow.h"

#include <cstdint>
#include <optional>
#include <string>

// The size of a source file as the space check and the progress bar count
// it: an empty file as 1 byte; a size that cannot be a size (negative) as 0,
// which also clears `byteProgress`.
int64_t CountedSourceSize(int64_t size, bool& byteProgress);

// Counts the [CopyFile] entries and sums the sizes of their source files in
// the distribution folder. A source that is missing (it may lie on a later
// disk) or cannot be sized switches the progress display to entry counts.
Flow MeasureNeededSpace(SetupCallback& person, InstallRun& run);

// Only when every source was sized: warns when the free space on the drive of
// the folder box is not more than the need, or cannot be measured; No ends
// the install.
Flow CheckFreeSpace(SetupCallback& person, InstallRun& run);
