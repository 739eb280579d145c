// The [ShortCut] section of the setup script: Make<n> names the target and
// its arguments, Name<n> the link and its working folder (or "Default").
#pragma once

#include "script/LocationTokens.h"
#include "script/ProfileText.h"

#include <string>
#include <vector>

// An entry whose Make<n> is literally this text is skipped, as an entry
// that the user did not choose is.
constexpr const char* UserNotSelectedMarker = "User Not Selected.";

// Make<n> and Name<n>; the list ends at the first empty Make<n>.
struct ShortcutItem {
    std::string make;
    std::string name;  // "Default" when the key is missing
};

// The main-window check box that must be on for a shortcut to be made.
enum class ShortcutBox { Desktop, StartMenu, StartUp, SendTo, None };

// Decided on the raw name by contains-tests in a fixed order, the first
// match winning: "Dsk)", then "Sta)" or the exact name "Default", then
// "Sup)", then "Sen)"; any other name is governed by no box.
ShortcutBox GoverningBox(const std::string& rawName);

// One flag for each of the four shortcut check boxes.
struct ShortcutBoxes {
    bool desktop = false;
    bool startMenu = false;
    bool startUp = false;
    bool sendTo = false;
};

// The boxes the start-up makes usable: those that govern some name of
// Name1, Name2, ..., read up to the first missing or empty name (which may
// end the scan before or after the list of Make<n> ends).
ShortcutBoxes ShortcutBoxesInUse(const ProfileText& script);

// Whether the shortcut is made, by the boxes checked when the install
// started.
bool ShortcutWanted(const ShortcutItem& item, const ShortcutBoxes& checked);

struct ShortcutEntry {
    std::string target;
    std::string arguments;
    std::string link;           // without the ".lnk" extension
    std::string workingFolder;  // empty when not given
};

// Both values expanded. A name "Default" (exact) links under the target's file
// name; a link without "(" and ")" goes below "(Sta)".
ShortcutEntry ParseShortcut(const ShortcutItem& item, const LocationTable& folders);
