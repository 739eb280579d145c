#include "install/ActionPhases.h"

#include "engine/RunState.h"
#include "install/RefusedPaths.h"
#include "script/ShortCutSection.h"
#include "services/Shortcut.h"

namespace {

ShortcutBoxes ChoicesOf(const InstallChoices& choices)
{
    return {choices.desktop, choices.startMenu, choices.startUp, choices.sendTo};
}

// The link is a file the install makes: it must name a place of its own.
// The target and working folder are only written into it, but a value that
// its tokens made too long is refused as well.
bool RefusedShortcut(InstallRun& run, const ShortcutEntry& entry)
{
    if (RefusePath(run, FailureTag::ShortCut, entry.link)) return true;
    for (const std::string* path : {&entry.target, &entry.workingFolder}) {
        // A target made from a folder Shift-JIS cannot hold would point at
        // a "?" name.
        if (HoldsUnrepresentableFolder(*path)) {
            ReportSkipped(run, FailureTag::ShortCut, WithoutUnrepresentableMarks(entry.link), PathFault::Unrepresentable);
            return true;
        }
        if (path->size() > LongestPath) {
            ReportSkipped(run, FailureTag::ShortCut, entry.link, PathFault::TooLong);
            return true;
        }
    }
    return false;
}

}  // namespace

Flow MakeShortcuts(SetupCallback& person, InstallRun& run)
{
    const ShortcutBoxes choices = ChoicesOf(run.choices);
    for (const ShortcutItem& item : run.Script().shortcuts) {
        // A shortcut the user did not choose leaves no trace: no text, no pause.
        if (!ShortcutWanted(item, choices)) continue;
        const ShortcutEntry entry = ParseShortcut(item, LocationsOf(run.State()));
        if (RefusedShortcut(run, entry)) continue;
        if (ShowStatusAndPoll(person, {Status::CreatingShortcut, entry.target, entry.link}) == Flow::Stop) return Flow::Stop;
        const std::string made = CreateShortcut(entry.target, entry.link, entry.workingFolder, entry.arguments, run.Changes());
        person.StepDone();
        // Recorded even when empty: the record writer lets the next item take
        // that number.
        run.lists.deleteShortCutList.push_back(made);
        run.Log(made.empty() ? "Shortcut not made: " + entry.link : "Shortcut made: " + made + " -> " + entry.target);
    }
    return Flow::GoOn;
}
