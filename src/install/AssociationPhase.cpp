#include "install/ActionPhases.h"

#include "app/RunState.h"
#include "install/RelateSection.h"
#include "services/RegistryAccess.h"
#include "text/MessageBox.h"
#include "uninstall/RestoreSlots.h"

#include <utility>

namespace {

bool UserConfirms(const std::string& extension, const std::string& program)
{
    const std::string question =
        "拡張子 *." + extension + " を\r" + program + "\rに関連付けします．よろしいですか？";
    return ShowMessageBox(question, "関連付けの確認", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

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

Flow MakeAssociations(RunWindows& windows, InstallRun& run)
{
    for (const RelateRow& row : run.RelateTable) {
        if (ShowStatusAndPoll(windows, "関連付けを設定しています．．．") == Flow::Stop) return Flow::Stop;
        const RelateName name = ParseRelateName(row.Name);
        const RelateFile file = ParseRelateFile(row.File);
        // A declined association does not even open the extension's key.
        if (!UserConfirms(name.Extension, file.Program)) continue;
        RecordAssociation(TheRun.RestoreRelateSlots, name.Extension);
        WriteAssociation(name, file);
    }
    return Flow::GoOn;
}
