#include "install/ActionPhases.h"

#include "engine/RunState.h"
#include "install/IniFileSection.h"
#include "install/RefusedPaths.h"
#include "text/IniFile.h"

Flow WriteIniEntries(SetupCallback& person, InstallRun& run)
{
    for (const std::string& data : ReadIniFileItems(run.State().scriptPath)) {
        if (ShowStatusAndPoll(person, {Status::WritingIniFiles}) == Flow::Stop) return Flow::Stop;
        const IniFileEntry entry = ParseIniFileEntry(data, LocationsOf(run.State()));
        // The system's profile functions put a file named without a folder
        // into the Windows folder of this machine, whatever the script meant:
        // such a file is refused, as every path of the script is.
        if (RefusePath(run, "<IniFile> ", entry.file)) continue;
        // Nothing of it is recorded, and a failed write is not reported.
        const bool written = WriteProfile(entry.section, entry.key, entry.value, entry.file);
        run.Log(std::string(written ? "INI entry written: " : "INI entry not written: ") + entry.file + " [" +
                entry.section + "] " + entry.key + "=" + entry.value);
    }
    return Flow::GoOn;
}
