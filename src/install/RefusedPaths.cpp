#include "install/RefusedPaths.h"

FailureReason SkipReason(PathFault fault)
{
    switch (fault) {
    case PathFault::None: break;
    case PathFault::Unrepresentable: return FailureReason::SkippedUnrepresentable;
    case PathFault::NotAbsolute: return FailureReason::SkippedNotAbsolute;
    case PathFault::TokenLeft: return FailureReason::SkippedTokenLeft;
    case PathFault::BadCharacter: return FailureReason::SkippedBadCharacter;
    case PathFault::TooLong: return FailureReason::SkippedTooLong;
    }
    return FailureReason::SkippedNotAbsolute;
}

void ReportSkipped(InstallRun& run, FailureTag tag, const std::string& path, PathFault fault)
{
    const FailureEntry entry{tag, path, StatedReason{SkipReason(fault), {}}};
    run.failures.Add(entry);
    run.Log("Refused: " + EntryLine(entry));
}

bool RefusePath(InstallRun& run, FailureTag tag, const std::string& path)
{
    const PathFault fault = FaultOfPath(path);
    if (fault == PathFault::None) return false;
    ReportSkipped(run, tag, WithoutUnrepresentableMarks(path), fault);
    return true;
}
