// Findings about [Product], what the Add/Remove entry (and through it Apps &
// Features and package managers) tells about the program, and what the
// winget manifests of `package` take from it.
#include "CheckRules.h"

#include "Quoted.h"
#include "script/ProductVersion.h"
#include "script/InstallScope.h"
#include "script/ShiftJis.h"
#include "script/TextCase.h"

#include <array>

namespace {

void CheckVersion(const SetupScript& script, Findings& findings)
{
    const std::string& version = script.product.version;
    // A setup-only script writes no entry: there is no version to compare.
    if (version.empty() && !IsSetupOnly(script.header.unSetupTitle)) {
        findings.push_back({"Product", "Version",
                            "is missing: SETUP.EXE cannot tell an upgrade from a downgrade (each install goes on as "
                            "a reinstall), and package managers see no version"});
        return;
    }
    if (version.empty() || ParseProductVersion(version)) return;
    findings.push_back({"Product", "Version",
                        Quoted(version) + " is not up to four numbers between points (such as 2.1): Apps & Features "
                                          "shows it as it is, but package managers cannot tell which version is "
                                          "newer"});
}

void CheckUrl(const SetupScript& script, Findings& findings)
{
    const std::string& url = script.product.url;
    if (url.empty() || StartsWithText(url, "http://") || StartsWithText(url, "https://")) return;
    findings.push_back({"Product", "URL",
                        Quoted(url) + " does not start with http:// or https://: Apps & Features shows no link"});
}

void CheckIcon(const SetupScript& script, Findings& findings)
{
    const std::string& icon = script.product.icon;
    const size_t comma = icon.rfind(',');
    if (comma == std::string::npos) return;
    const std::string index = icon.substr(comma + 1);
    const size_t digits = index.starts_with("-") ? 1 : 0;
    if (index.size() > digits && index.find_first_not_of("0123456789", digits) == std::string::npos) return;
    findings.push_back({"Product", "Icon",
                        Quoted(icon) + " ends in " + Quoted(index) + " after its comma, which is no icon number: "
                                                                    "Apps & Features shows no icon"});
}

// Characters as winget counts them (Unicode code points), of Shift-JIS text.
size_t CharacterCount(const std::string& text)
{
    size_t count = 0;
    for (size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) ++count;
    return count;
}

// License (3 to 512 characters) and Description (the manifests' short
// description, 3 to 256), which the repository requires of every package.
void CheckManifestText(const SetupScript& script, const char* key, size_t minimum, size_t maximum, Findings& findings)
{
    const ProfileKey* found = script.profile.Find("Product", key);
    if (found == nullptr) return;
    const std::string value = script.profile.Read("Product", key);
    const size_t length = CharacterCount(value);
    if (length >= minimum && length <= maximum) return;
    findings.push_back({"Product", key,
                        (value.empty() ? std::string("is empty") : "has " + std::to_string(length) + " characters") +
                            ", where winget needs " + std::to_string(minimum) + " to " + std::to_string(maximum) +
                            ": `package` writes no manifests"});
}

// A key the installer and `package` do not know is read by neither: most
// likely a misspelt one ("Licence", "Descripton").
void CheckKnownKeys(const SetupScript& script, Findings& findings)
{
    static const std::array<const char*, 7> known = {"Version", "Publisher", "URL", "Icon", "License", "Description",
                                                     "Scope"};
    const ProfileSection* section = script.profile.FindSection("Product");
    if (section == nullptr) return;
    for (const ProfileKey& key : section->keys) {
        // A line starting with ";" is the author's note, not a key.
        bool isKnown = key.name.empty() || key.name.starts_with(";");
        for (const char* name : known) isKnown = isKnown || SameText(key.name, name);
        if (!isKnown)
            findings.push_back({"Product", key.name,
                                "is no key of [Product] (Version, Publisher, URL, Icon, License, Description, "
                                "Scope): "
                                "nothing reads it"});
    }
}

// Scope: one of the three, and a script that may install for one user asks
// nothing of the machine (SETUP.EXE refuses the install otherwise).
void CheckScope(const SetupScript& script, Findings& findings)
{
    const std::string value = script.profile.Read("Product", "Scope");
    if (!IsKnownScopeValue(value)) {
        findings.push_back({"Product", "Scope",
                            Quoted(value) + " is none of Machine, User and Either: the setup installs for all users"});
        return;
    }
    if (ReadScopeChoice(script.profile) == ScopeChoice::Machine) return;
    if (const std::optional<std::string> refused = UserScopeRefusal(script))
        findings.push_back({"Product", "Scope",
                            "allows an install for the current user, which cannot carry out " + *refused +
                                " (the Windows or system folder, a shared DLL, or HKEY_LOCAL_MACHINE outside "
                                "Software): the setup refuses that install"});
}

}  // namespace

void CheckProduct(const SetupScript& script, Findings& findings)
{
    CheckVersion(script, findings);
    CheckUrl(script, findings);
    CheckIcon(script, findings);
    CheckManifestText(script, "License", 3, 512, findings);
    CheckManifestText(script, "Description", 3, 256, findings);
    CheckKnownKeys(script, findings);
    CheckScope(script, findings);
}
