#include "install/ActionPhases.h"

bool RunActionPhases(InstallRun& run, RunWindows& windows)
{
    if (!RunShortcutPhase(run, windows)) return false;
    if (!RunRegistryPhase(run, windows)) return false;
    if (!RunIniFilePhase(run, windows)) return false;
    CollectUninstallOnlyEntries(run);
    return RunAssociationPhase(run, windows);
}
