#include "install/ActionPhases.h"

#include "app/RunState.h"
#include "install/ShortCutSection.h"
#include "services/Shortcut.h"
#include "text/StrOp.h"

namespace {

ShortcutChoices ChoicesOf(const OptionSnapshot& options)
{
    return {options.desktop, options.startMenu, options.startUp, options.sendTo};
}

std::string ShortcutStatusText(const ShortcutEntry& entry)
{
    return "ショートカットを作成しています．．．\rCreateTarget -> " + entry.Target + "\rCreating -> " +
           RemoveDelimiter(entry.Link, "T");
}

}  // namespace

Flow MakeShortcuts(RunWindows& windows, InstallRun& run)
{
    const ShortcutChoices choices = ChoicesOf(run.Options);
    for (const ShortcutItem& item : ReadShortcutItems(TheRun.ScriptPath)) {
        // A shortcut the user did not choose leaves no trace: no text, no pause.
        if (!ShortcutWanted(item, choices)) continue;
        const ShortcutEntry entry = ParseShortcut(item);
        if (ShowStatusAndPoll(windows, ShortcutStatusText(entry)) == Flow::Stop) return Flow::Stop;
        const std::string made = CreateShortcut(entry.Target, entry.Link, entry.WorkingFolder, entry.Arguments);
        PauseForSetupSpeed();
        // Recorded even when empty: the record writer lets the next item take
        // that number.
        run.Lists.DeleteShortCutList.push_back(made);
    }
    return Flow::GoOn;
}
