#include "script/ShortCutSection.h"

#include "script/NumberedKeys.h"
#include "script/PathParts.h"
#include "script/TextCase.h"
#include "script/ValueFields.h"

ShortcutBox GoverningBox(const std::string& rawName)
{
    if (Contains(rawName, "Dsk)")) return ShortcutBox::Desktop;
    if (Contains(rawName, "Sta)") || rawName == "Default") return ShortcutBox::StartMenu;
    if (Contains(rawName, "Sup)")) return ShortcutBox::StartUp;
    if (Contains(rawName, "Sen)")) return ShortcutBox::SendTo;
    return ShortcutBox::None;
}

ShortcutBoxes ShortcutBoxesInUse(const ProfileText& script)
{
    ShortcutBoxes boxes;
    for (const std::string& name : NumberedKeys(script, "ShortCut").List("Name")) {
        switch (GoverningBox(name)) {
        case ShortcutBox::Desktop: boxes.desktop = true; break;
        case ShortcutBox::StartMenu: boxes.startMenu = true; break;
        case ShortcutBox::StartUp: boxes.startUp = true; break;
        case ShortcutBox::SendTo: boxes.sendTo = true; break;
        case ShortcutBox::None: break;
        }
    }
    return boxes;
}

bool ShortcutWanted(const ShortcutItem& item, const ShortcutBoxes& checked)
{
    if (item.make == UserNotSelectedMarker) return false;
    switch (GoverningBox(item.name)) {
    case ShortcutBox::Desktop: return checked.desktop;
    case ShortcutBox::StartMenu: return checked.startMenu;
    case ShortcutBox::StartUp: return checked.startUp;
    case ShortcutBox::SendTo: return checked.sendTo;
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
