#include "install/ActionPhases.h"

Flow RunActionPhases(RunWindows& windows, InstallRun& run)
{
    static constexpr InstallPhase phases[] = {
        MakeShortcuts,                // [ShortCut]
        WriteRegistryValues,          // [Registry]
        WriteIniEntries,              // [IniFile]
        CollectUninstallOnlyEntries,  // [DeleteRegistry], [AddDeleteFile]
        MakeAssociations,             // [Relate]
    };
    return RunPhases(phases, windows, run);
}
