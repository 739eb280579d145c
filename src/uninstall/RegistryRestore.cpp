#include "uninstall/RegistryRestore.h"

#include "script/PathParts.h"
#include "script/TextCase.h"
#include "script/ValueFields.h"
#include "services/RegistryAccess.h"
#include "services/RegistryKeys.h"
#include "services/SetupError.h"
#include "services/Win32Registry.h"
#include "text/IniFile.h"
#include "text/NumberedList.h"

#include <windows.h>

namespace {

struct RecordedAssociation {
    std::string extension;      // without its dot
    std::string earlierType;    // empty when the extension had none
};

RecordedAssociation SplitAssociation(const std::string& value)
{
    const SplitText parts = SplitAtFirst(value, ",");
    return {parts.before, parts.after};
}

enum class TypeWrite { Written, NoKey, Refused };

// Sets the default value of an existing extension key; the key is never
// created here.
TypeWrite WriteEarlierType(const std::string& extensionKey, const std::string& type)
{
    if (!RegKeyExists(HKEY_CLASSES_ROOT, extensionKey)) return TypeWrite::NoKey;
    NoJournal unjournaled;  // the uninstall keeps no journal
    RegistryAccess registry(HKEY_CLASSES_ROOT, unjournaled);
    if (!registry.OpenKey(extensionKey, false)) return TypeWrite::Refused;
    try {
        registry.WriteString("", type);
    } catch (const SetupError&) {
        return TypeWrite::Refused;
    }
    return TypeWrite::Written;
}

// Deletes the key and tells whether it is gone now (the deletion itself
// reports nothing).
bool RemoveKey(const std::string& rootToken, const std::string& keyPath)
{
    DeleteRegistryKey(rootToken, keyPath);
    const std::string subKey = WithoutTrailingBackslash(WithoutLeadingBackslash(keyPath));
    return subKey.empty() || !RegKeyExists(RootKeyOf(rootToken), subKey);
}

void RestoreAssociation(const RecordedAssociation& association, RunLog& log)
{
    const std::string extensionKey = "." + association.extension;
    const std::string installedType = association.extension + "_auto_file";
    std::string restored;
    if (!association.earlierType.empty()) {
        const TypeWrite write = WriteEarlierType(extensionKey, association.earlierType);
        // The extension still names the installed type: removing that type
        // now would leave the extension pointing at nothing.
        if (write == TypeWrite::Refused) {
            log.Line("Association kept: ." + association.extension + " (its earlier type could not be written back)");
            return;
        }
        if (write == TypeWrite::Written) restored = association.earlierType;
    }
    if (restored.empty()) DeleteRegistryKey("(Class)", extensionKey);
    if (!SameUpperCased(restored, installedType)) DeleteRegistryKey("(Class)", installedType);
    log.Line(restored.empty() ? "Association removed: ." + association.extension
                              : "Association restored: ." + association.extension + " -> " + restored);
}

}  // namespace

void RemoveRecordedRegistryKeys(const std::string& record, RunLog& log)
{
    for (const std::string& value : ReadNumberedList("DeleteRegistry", "Key", record)) {
        const RegistryLocation location = SplitRegistryLocation(value);
        const bool removed = RemoveKey(location.rootToken, location.keyPath);
        log.Line((removed ? "Registry key removed: " : "Registry key not removed: ") + value);
    }
}

void RestoreAssociations(const std::string& record, RunLog& log)
{
    for (const std::string& value : ReadNumberedList("RestoreRelate", "Key", record))
        RestoreAssociation(SplitAssociation(value), log);
}

void RemoveUninstallEntry(const std::string& record, RunLog& log)
{
    const std::string key = ReadProfile("UnSetupRegistryKey", "Key", "", record);
    const bool removed = RemoveKey("(Local)", key);
    log.Line((removed ? "Add/Remove entry removed: HKEY_LOCAL_MACHINE\\" : "Add/Remove entry not removed: HKEY_LOCAL_MACHINE\\") + key);
}
