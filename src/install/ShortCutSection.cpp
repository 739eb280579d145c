#include "install/ShortCutSection.h"

#include "engine/RunState.h"
#include "services/LocationTokens.h"
#include "text/IniFile.h"
#include "text/NumberedList.h"
#include "text/PathParts.h"
#include "text/StrOp.h"
#include "text/ValueFields.h"

std::vector<ShortcutItem> ReadShortcutItems(const std::string& scriptPath)
{
    // The script is parsed once: read key by key, a section of thousands of
    // shortcuts would read the whole file thousands of times.
    const ProfileText script = ReadProfileText(scriptPath);
    std::vector<ShortcutItem> items;
    int n = 0;
    for (std::string& make : ReadNumberedList("ShortCut", "Make", scriptPath))
        items.push_back({std::move(make), script.Read("ShortCut", "Name" + std::to_string(++n), "Default")});
    return items;
}

ShortcutBox GoverningBox(const std::string& rawName)
{
    if (Contains(rawName, "Dsk)")) return ShortcutBox::Desktop;
    if (Contains(rawName, "Sta)") || rawName == "Default") return ShortcutBox::StartMenu;
    if (Contains(rawName, "Sup)")) return ShortcutBox::StartUp;
    if (Contains(rawName, "Sen)")) return ShortcutBox::SendTo;
    return ShortcutBox::None;
}

bool ShortcutWanted(const ShortcutItem& item, const ShortcutChoices& choices)
{
    if (item.make == UserNotSelectedMarker) return false;
    switch (GoverningBox(item.name)) {
    case ShortcutBox::Desktop: return choices.desktop;
    case ShortcutBox::StartMenu: return choices.startMenu;
    case ShortcutBox::StartUp: return choices.startUp;
    case ShortcutBox::SendTo: return choices.sendTo;
    case ShortcutBox::None: break;
    }
    return true;
}

ShortcutEntry ParseShortcut(const ShortcutItem& item, const LocationTable& folders)
{
    ShortcutEntry entry;
    const SplitText target = SplitAtFirst(ExpandTokens(item.make, folders), ",");
    entry.target = target.before;
    entry.arguments = target.after;

    std::string link = item.name == "Default" ? FileNamePart(entry.target) : item.name;
    if (!Contains(link, "(") && !Contains(link, ")")) link = "(Sta)" + link;
    const SplitText linkParts = SplitAtFirst(ExpandTokens(link, folders), ",");
    entry.link = linkParts.before;
    entry.workingFolder = linkParts.after;
    return entry;
}
