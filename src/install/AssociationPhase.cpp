#include "install/ActionPhases.h"

#include "engine/RunState.h"
#include "record/RestoreSlots.h"
#include "script/RelateSection.h"
#include "services/RegistryAccess.h"
#include "services/RegistryKeys.h"

#include <utility>

namespace {

// The extension key names a file type of its own ("<ext>_auto_file"), which
// holds the description, the icon and the verb's command.
void WriteAssociation(const RelateName& name, const RelateFile& file, const ClassesLocation& classes,
                      ChangeJournal& journal)
{
    const std::string fileType = name.extension + "_auto_file";
    const std::pair<std::string, std::string> keys[] = {
        {"." + name.extension, fileType},
        {fileType, name.description},
        {fileType + "\\DefaultIcon", file.defaultIcon},
        {fileType + "\\shell\\" + file.verb + "\\command", file.command},
    };
    RegistryAccess registry(classes.Root(), journal);
    for (const auto& [key, value] : keys) {
        // A key that did not open refuses the value with the layer's text.
        registry.OpenKey(classes.Key(key), true);
        registry.WriteString("", value);
        registry.CloseKey();
    }
}

}  // namespace

Flow MakeAssociations(SetupCallback& person, InstallRun& run)
{
    for (const RelateRow& row : run.relateTable) {
        if (ShowStatusAndPoll(person, {Status::Associating}) == Flow::Stop) return Flow::Stop;
        const RelateName name = ParseRelateName(row.name);
        const RelateFile file = ParseRelateFile(row.file, LocationsOf(run.State()));
        // A declined association does not even open the extension's key.
        if (!person.Associate(name.extension, file.program)) {
            run.Log("Association declined: ." + name.extension);
            continue;
        }
        const ClassesLocation classes = ClassesOf(run.State().scope);
        RecordAssociation(run.State().restoreRelateSlots, name.extension, classes);
        WriteAssociation(name, file, classes, run.Changes());
        run.Log("Association made: ." + name.extension + " -> " + file.command);
    }
    return Flow::GoOn;
}
