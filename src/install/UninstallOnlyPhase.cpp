#include "install/ActionPhases.h"

#include "engine/RunState.h"
#include "script/LocationTokens.h"

// [DeleteRegistry] keys go into the record as written, [AddDeleteFile]
// files with their tokens expanded. No status text, no abort poll and no
// pause: nothing happens at install time.
Flow CollectUninstallOnlyEntries(SetupCallback&, InstallRun& run)
{
    for (const std::string& key : run.Script().deleteRegistry) run.lists.deleteRegistryList.push_back(key);
    for (const std::string& file : run.Script().addDeleteFiles)
        run.lists.addDeleteFileList.push_back(ExpandTokens(file, LocationsOf(run.State())));
    return Flow::GoOn;
}
