// The install's answer to a folder, file or shortcut path of the script that
// names no place on this machine (see FaultOfPath): the entry is skipped and
// the failure report says why.
#pragma once

#include "install/InstallRun.h"
#include "script/PathParts.h"

#include <string>

// Adds the block for `path` under `tag` and returns true when the path has a
// fault; false, and nothing added, for a usable path.
bool RefusePath(InstallRun& run, FailureTag tag, const std::string& path);

// Adds the entry for `path`, skipped for `fault`, and logs it.
void ReportSkipped(InstallRun& run, FailureTag tag, const std::string& path, PathFault fault);

// The report's reason for a fault.
FailureReason SkipReason(PathFault fault);
