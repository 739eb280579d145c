#include "install/ActionPhases.h"

#include "engine/RunState.h"
#include "script/IniFileSection.h"
#include "services/ChangeJournal.h"
#include "text/IniFile.h"

Flow WriteIniEntries(SetupCallback& person, InstallRun& run)
{
    for (const std::string& data : run.Script().iniFiles) {
        if (ShowStatusAndPoll(person, {Status::WritingIniFiles}) == Flow::Stop) return Flow::Stop;
        const IniFileEntry entry = ParseIniFileEntry(data, LocationsOf(run.State()));
        // Nothing of it is recorded, and a failed write is not reported.
        JournalIniEntry(run.Changes(), entry.file, entry.section, entry.key);
        const bool written = WriteProfile(entry.section, entry.key, entry.value, entry.file);
        run.Log(std::string(written ? "INI entry written: " : "INI entry not written: ") + entry.file + " [" +
                entry.section + "] " + entry.key + "=" + entry.value);
    }
    return Flow::GoOn;
}
