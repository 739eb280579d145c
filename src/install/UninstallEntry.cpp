#include "install/UninstallEntry.h"

#include "script/RunSwitches.h"
#include "script/ValueFields.h"
#include "services/FileFacts.h"
#include "services/RegistryAccess.h"

#include <windows.h>


namespace {

void WriteOrRemove(RegistryAccess& registry, const std::string& name, const std::string& value)
{
    if (value.empty())
        registry.DeleteValue(name);
    else
        registry.WriteString(name, value);
}

}  // namespace

void WriteUninstallEntry(HKEY root, const std::string& keyPath, const UninstallEntryValues& values, ChangeJournal& journal)
{
    RegistryAccess registry(root, journal);
    registry.CreateKey(keyPath);
    registry.OpenKey(keyPath, true);
    registry.WriteString("DisplayName", values.displayName);
    registry.WriteString("UninstallString", values.command);
    // The command deployment tools run to remove the program without a
    // window or a question.
    registry.WriteString("QuietUninstallString", values.command + " " + QuietSwitches);
    WriteOrRemove(registry, "DisplayVersion", values.product.version);
    WriteOrRemove(registry, "Publisher", values.product.publisher);
    WriteOrRemove(registry, "URLInfoAbout", values.product.url);
    registry.WriteString("DisplayIcon", values.product.icon.empty() ? values.defaultIcon : values.product.icon);
    registry.WriteString("InstallLocation", values.installLocation);
    registry.WriteInteger("EstimatedSize", static_cast<int32_t>(values.estimatedKilobytes));
    registry.WriteString("InstallDate", values.installDate);
    registry.WriteInteger("NoModify", 1);
    // No system tool runs a repair command of an entry that is not Windows
    // Installer's; administrators and scripts read it from here.
    WriteOrRemove(registry, "RepairString", values.repairCommand);
    registry.WriteInteger("NoRepair", values.repairCommand.empty() ? 1 : 0);
}

uint32_t InstalledKilobytes(const std::vector<std::string>& recordedFiles)
{
    uint64_t bytes = 0;
    for (const std::string& entry : recordedFiles) bytes += FoundFileSize(SplitAtFirst(entry, ",").before).value_or(0);
    const uint64_t kilobytes = (bytes + 1023) / 1024;
    return kilobytes > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(kilobytes);
}
