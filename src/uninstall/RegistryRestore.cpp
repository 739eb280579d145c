#include "uninstall/RegistryRestore.h"

#include "record/UninstallRecord.h"
#include "script/PathParts.h"
#include "script/ScriptTokens.h"
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
TypeWrite WriteEarlierType(const ClassesLocation& classes, const std::string& extensionKey, const std::string& type)
{
    if (!RegKeyExists(classes.Root(), classes.Key(extensionKey))) return TypeWrite::NoKey;
    NoJournal unjournaled;  // the uninstall keeps no journal
    RegistryAccess registry(classes.Root(), unjournaled);
    if (!registry.OpenKey(classes.Key(extensionKey), false)) return TypeWrite::Refused;
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

void RestoreAssociation(const ClassesLocation& classes, const RecordedAssociation& association, RunLog& log)
{
    const std::string extensionKey = "." + association.extension;
    const std::string installedType = association.extension + "_auto_file";
    std::string restored;
    if (!association.earlierType.empty()) {
        const TypeWrite write = WriteEarlierType(classes, extensionKey, association.earlierType);
        // The extension still names the installed type: removing that type
        // now would leave the extension pointing at nothing.
        if (write == TypeWrite::Refused) {
            log.Line("Association kept: ." + association.extension + " (its earlier type could not be written back)");
            return;
        }
        if (write == TypeWrite::Written) restored = association.earlierType;
    }
    if (restored.empty()) DeleteRegistryKey(classes.rootToken, classes.Key(extensionKey));
    if (!SameUpperCased(restored, installedType)) DeleteRegistryKey(classes.rootToken, classes.Key(installedType));
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
        RestoreAssociation(ClassesOf(RecordedScope(record)), SplitAssociation(value), log);
}

void RemoveUninstallEntry(const std::string& record, RunLog& log)
{
    const std::string key = ReadProfile("UnSetupRegistryKey", "Key", "", record);
    const InstallScope scope = RecordedScope(record);
    const std::string rootToken(scope == InstallScope::User ? ScriptTokens::CurrentUser : ScriptTokens::LocalMachine);
    const bool removed = RemoveKey(rootToken, key);
    log.Line((removed ? "Add/Remove entry removed: " : "Add/Remove entry not removed: ") + UninstallEntryRootName(scope) +
             "\\" + key);
}
