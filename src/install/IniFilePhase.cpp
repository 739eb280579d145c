#include "install/ActionPhases.h"

#include "app/RunState.h"
#include "install/IniFileSection.h"
#include "text/IniFile.h"

bool RunIniFilePhase(InstallRun&, RunWindows& windows)
{
    for (const std::string& data : ReadIniFileItems(TheRun.ScriptPath)) {
        windows.SetStatus("Iniファイルを設定しています．．．");
        if (windows.AbortRequested()) return false;
        const IniFileEntry entry = ParseIniFileEntry(data);
        // Nothing of it is recorded, and a failed write is not reported.
        WriteProfile(entry.Section, entry.Key, entry.Value, entry.File);
    }
    return true;
}
