#include "install/InstalledProduct.h"

#include "install/InstallCompletion.h"
#include "script/PathParts.h"
#include "services/FileOps.h"
#include "services/Win32Registry.h"

std::optional<InstalledProduct> FindInstalledProduct(HKEY root, const std::string& keyPath)
{
    const RegKey entry = OpenRegKey(root, keyPath);
    if (!entry) return std::nullopt;
    const std::string location = ReadRegString(entry.Get(), "InstallLocation");
    if (location.empty()) return std::nullopt;
    InstalledProduct product{ReadRegString(entry.Get(), "DisplayVersion"), WithTrailingBackslash(location)};
    if (!FileExists(product.folder + "UNSETUP.INI")) return std::nullopt;
    return product;
}

namespace {

const char* OrderText(VersionOrder order)
{
    switch (order) {
    case VersionOrder::Older: return "older: a downgrade";
    case VersionOrder::Same: return "the same version";
    case VersionOrder::Newer: return "newer: an upgrade";
    case VersionOrder::Unknown: break;
    }
    return "not comparable: installed as before";
}

}  // namespace

InstalledComparison CompareWithInstalled(RunState& state, HKEY root)
{
    InstalledComparison comparison;
    const ScriptHeader& header = state.script.header;
    if (IsSetupOnly(header.unSetupTitle) || header.addRemoveKey.empty()) return comparison;
    comparison.installed = FindInstalledProduct(root, UninstallListKey + header.addRemoveKey);
    if (!comparison.installed) return comparison;
    const std::string& mine = state.script.product.version;
    comparison.order = CompareProductVersions(mine, comparison.installed->version);
    state.log.Line("Installed: version " + (comparison.installed->version.empty() ? "unknown" : comparison.installed->version) +
                   " in " + comparison.installed->folder + "; this setup's version " + (mine.empty() ? "unknown" : mine) +
                   " is " + OrderText(comparison.order));
    return comparison;
}
