// Findings about [ShortCut] names: which check box of the set-up screen
// lets the user decide whether a shortcut is made.
#include "CheckRules.h"

#include "ScriptModel.h"
#include "SjisText.h"

namespace {

// The four folder endings that tie a name to a check box (desktop, Start
// menu, Startup, Send To), found anywhere in the name, case ignored.
bool HasCheckBox(const std::string& name)
{
    for (const char* ending : {"Dsk)", "Sta)", "Sup)", "Sen)"})
        if (Contains(name, ending)) return true;
    return false;
}

const std::string kScanStops =
    "the set-up screen stops reading shortcut names here, so check boxes needed only by this or later "
    "shortcuts stay checked and disabled";

}  // namespace

void CheckShortCuts(const Profile& script, Findings& findings)
{
    const auto targets = ReadList(script, "ShortCut", "Make");
    for (size_t i = 0; i < targets.size(); ++i) {
        const std::string key = "Name" + std::to_string(i + 1);
        const ProfileKey* name = script.Find("ShortCut", key);
        if (name == nullptr || !name->value) {
            findings.push_back({"ShortCut", key,
                                "is missing: the installer names the shortcut \"Default\" (Start menu), but " +
                                    kScanStops});
        } else if (name->value->empty()) {
            findings.push_back({"ShortCut", key,
                                "is empty: no check box governs it, so the shortcut is always made in the Start "
                                "menu's Programs folder; and " + kScanStops});
        } else if (*name->value != "Default" && !HasCheckBox(*name->value)) {
            std::string text = "no check box governs " + Quoted(*name->value) +
                               ": the shortcut is always made, whatever the user chooses";
            if (SameText(*name->value, "Default"))
                text += " (only \"Default\", written exactly so, means the Start menu and the target's name)";
            findings.push_back({"ShortCut", key, text});
        }
    }
}
