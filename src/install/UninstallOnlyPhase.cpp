#include "install/ActionPhases.h"

#include "engine/RunState.h"
#include "install/UninstallOnlySections.h"

#include <utility>

// No status text, no abort poll and no pause: nothing happens at install
// time.
Flow CollectUninstallOnlyEntries(SetupCallback&, InstallRun& run)
{
    for (std::string& key : ReadDeleteRegistryKeys(run.State().scriptPath))
        run.lists.deleteRegistryList.push_back(std::move(key));
    for (std::string& file : ReadAddDeleteFiles(run.State().scriptPath, LocationsOf(run.State())))
        run.lists.addDeleteFileList.push_back(std::move(file));
    return Flow::GoOn;
}
