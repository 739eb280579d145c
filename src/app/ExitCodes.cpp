#include "app/ExitCodes.h"

int ExitCodeOf(const RunOutcome& outcome)
{
    switch (outcome.end) {
    case RunEnd::Completed: return outcome.restartNeeded ? ExitCode::RestartNeeded : ExitCode::Completed;
    case RunEnd::Cancelled: return ExitCode::Cancelled;
    case RunEnd::NotEnoughSpace: return ExitCode::NotEnoughSpace;
    case RunEnd::DowngradeRefused: return ExitCode::DowngradeRefused;
    case RunEnd::CompletedWithFailures:
    case RunEnd::Failed: break;
    }
    return ExitCode::Failed;
}
