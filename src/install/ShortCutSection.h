// The [ShortCut] section of the setup script: Make<n> names the target and
// its arguments, Name<n> the link and its working folder (or "Default").
#pragma once

#include "services/LocationTokens.h"

#include <string>
#include <vector>

// An entry whose Make<n> is literally this text is skipped, as an entry
// that the user did not choose is.
constexpr const char* UserNotSelectedMarker = "User Not Selected.";

struct ShortcutItem {
    std::string make;
    std::string name;  // "Default" when the key is missing
};

// Make1/Name1, Make2/Name2, ... up to the first empty Make<n>.
std::vector<ShortcutItem> ReadShortcutItems(const std::string& scriptPath);

// The main-window check box that must be on for a shortcut to be made.
enum class ShortcutBox { Desktop, StartMenu, StartUp, SendTo, None };

// Decided on the raw name by contains-tests in a fixed order, the first
// match winning: "Dsk)", then "Sta)" or the exact name "Default", then
// "Sup)", then "Sen)"; any other name is governed by no box.
ShortcutBox GoverningBox(const std::string& rawName);

// The states of the four shortcut check boxes when the install started.
struct ShortcutChoices {
    bool desktop = false;
    bool startMenu = false;
    bool startUp = false;
    bool sendTo = false;
};

bool ShortcutWanted(const ShortcutItem& item, const ShortcutChoices& choices);

struct ShortcutEntry {
    std::string target;
    std::string arguments;
    std::string link;           // without the ".lnk" extension
    std::string workingFolder;  // empty when not given
};

// Both values expanded. A name "Default" (exact) links under the target's file
// name; a link without "(" and ")" goes below "(Sta)".
ShortcutEntry ParseShortcut(const ShortcutItem& item, const LocationTable& folders);
