#include "install/ProgressDisplay.h"

#include <algorithm>
#include <string>

int ProgressPosition(const InstallRun& run, int entryNumber)
{
    if (run.byteProgress) {
        if (run.totalBytes <= 0) return 0;
        // A source that grew since it was measured may bring the share past
        // the whole; the bar shows no more than 100 either way.
        const long double percent =
            static_cast<long double>(run.doneBytes) / static_cast<long double>(run.totalBytes) * 100;
        return static_cast<int>(std::clamp(percent, 0.0L, 100.0L));
    }
    if (run.copyEntryCount <= 0) return 0;
    return std::clamp(entryNumber * 100 / run.copyEntryCount, 0, 100);
}

void ShowCopyProgress(SetupCallback& person, const InstallRun& run, int entryNumber)
{
    person.CopyProgressed({ProgressPosition(run, entryNumber), run.copiedCount, run.copyEntryCount});
}
