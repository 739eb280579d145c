#include "install/ActionPhases.h"

#include "engine/RunState.h"
#include "install/RelateSection.h"
#include "services/RegistryAccess.h"
#include "record/RestoreSlots.h"

#include <utility>

namespace {

// The extension key names a file type of its own ("<ext>_auto_file"), which
// holds the description, the icon and the verb's command.
void WriteAssociation(const RelateName& name, const RelateFile& file)
{
    const std::string fileType = name.Extension + "_auto_file";
    const std::pair<std::string, std::string> keys[] = {
        {"." + name.Extension, fileType},
        {fileType, name.Description},
        {fileType + "\\DefaultIcon", file.DefaultIcon},
        {fileType + "\\shell\\" + file.Verb + "\\command", file.Command},
    };
    RegistryAccess registry(HKEY_CLASSES_ROOT);
    for (const auto& [key, value] : keys) {
        // A key that did not open refuses the value with the layer's text.
        registry.OpenKey(key, true);
        registry.WriteString("", value);
        registry.CloseKey();
    }
}

}  // namespace

Flow MakeAssociations(SetupCallback& person, InstallRun& run)
{
    for (const RelateRow& row : run.RelateTable) {
        if (ShowStatusAndPoll(person, {Status::Associating}) == Flow::Stop) return Flow::Stop;
        const RelateName name = ParseRelateName(row.Name);
        const RelateFile file = ParseRelateFile(row.File, LocationsOf(run.State()));
        // A declined association does not even open the extension's key.
        if (!person.Associate(name.Extension, file.Program)) continue;
        RecordAssociation(run.State().RestoreRelateSlots, name.Extension);
        WriteAssociation(name, file);
    }
    return Flow::GoOn;
}
