#include "install/ActionPhases.h"

Flow RunActionPhases(SetupCallback& person, InstallRun& run)
{
    static constexpr InstallPhase phases[] = {
        MakeShortcuts,                // [ShortCut]
        WriteRegistryValues,          // [Registry]
        WriteIniEntries,              // [IniFile]
        CollectUninstallOnlyEntries,  // [DeleteRegistry], [AddDeleteFile]
        MakeAssociations,             // [Relate]
    };
    return RunPhases(phases, person, run);
}
