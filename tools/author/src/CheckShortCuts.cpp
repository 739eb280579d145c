// Findings about [ShortCut] names: which check box of the set-up screen
// lets the user decide whether a shortcut is made.
#include "CheckRules.h"

#include "Quoted.h"
#include "script/ShortCutSection.h"
#include "script/TextCase.h"

namespace {

const std::string kScanStops =
    "the set-up screen stops reading shortcut names here, so check boxes needed only by this or later "
    "shortcuts stay checked and disabled";

}  // namespace

void CheckShortCuts(const SetupScript& script, Findings& findings)
{
    for (size_t i = 0; i < script.shortcuts.size(); ++i) {
        const std::string key = "Name" + std::to_string(i + 1);
        const ProfileKey* name = script.profile.Find("ShortCut", key);
        if (name == nullptr || !name->value) {
            findings.push_back({"ShortCut", key,
                                "is missing: the installer names the shortcut \"Default\" (Start menu), but " +
                                    kScanStops});
        } else if (name->value->empty()) {
            findings.push_back({"ShortCut", key,
                                "is empty: no check box governs it, so the shortcut is always made in the Start "
                                "menu's Programs folder; and " + kScanStops});
        } else if (GoverningBox(*name->value) == ShortcutBox::None) {
            std::string text = "no check box governs " + Quoted(*name->value) +
                               ": the shortcut is always made, whatever the user chooses";
            if (SameText(*name->value, "Default"))
                text += " (only \"Default\", written exactly so, means the Start menu and the target's name)";
            findings.push_back({"ShortCut", key, text});
        }
    }
}
