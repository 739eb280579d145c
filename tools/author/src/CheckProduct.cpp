// Findings about [Product], what the Add/Remove entry (and through it Apps &
// Features and package managers) tells about the program.
#include "CheckRules.h"

#include "ScriptModel.h"
#include "SjisText.h"

namespace {

// One to four whole numbers between points ("1", "2.1", "10.0.3.117"): the
// form in which Windows and package managers compare versions.
bool IsDottedVersion(const std::string& text)
{
    int numbers = 0;
    size_t at = 0;
    while (at <= text.size()) {
        const size_t point = text.find('.', at);
        const std::string part = text.substr(at, point == std::string::npos ? std::string::npos : point - at);
        if (part.empty() || part.size() > 9 || part.find_first_not_of("0123456789") != std::string::npos) return false;
        ++numbers;
        if (point == std::string::npos) break;
        at = point + 1;
    }
    return numbers <= 4;
}

void CheckVersion(const Profile& script, Findings& findings)
{
    const std::string version = script.Read("Product", "Version");
    if (version.empty() || IsDottedVersion(version)) return;
    findings.push_back({"Product", "Version",
                        Quoted(version) + " is not up to four numbers between points (such as 2.1): Apps & Features "
                                          "shows it as it is, but package managers cannot tell which version is "
                                          "newer"});
}

void CheckUrl(const Profile& script, Findings& findings)
{
    const std::string url = script.Read("Product", "URL");
    if (url.empty() || StartsWithText(url, "http://") || StartsWithText(url, "https://")) return;
    findings.push_back({"Product", "URL",
                        Quoted(url) + " does not start with http:// or https://: Apps & Features shows no link"});
}

void CheckIcon(const Profile& script, Findings& findings)
{
    const std::string icon = script.Read("Product", "Icon");
    const size_t comma = icon.rfind(',');
    if (comma == std::string::npos) return;
    const std::string index = icon.substr(comma + 1);
    const size_t digits = index.starts_with("-") ? 1 : 0;
    if (index.size() > digits && index.find_first_not_of("0123456789", digits) == std::string::npos) return;
    findings.push_back({"Product", "Icon",
                        Quoted(icon) + " ends in " + Quoted(index) + " after its comma, which is no icon number: "
                                                                    "Apps & Features shows no icon"});
}

}  // namespace

void CheckProduct(const Profile& script, Findings& findings)
{
    CheckVersion(script, findings);
    CheckUrl(script, findings);
    CheckIcon(script, findings);
}
