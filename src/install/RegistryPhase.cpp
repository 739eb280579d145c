#include "install/ActionPhases.h"

#include "engine/RunState.h"
#include "install/RefusedPaths.h"
#include "script/RegistrySection.h"
#include "services/RegistryAccess.h"
#include "services/RegistryKeys.h"
#include "services/SetupError.h"

namespace {

void WriteRegistryValue(RegistryAccess& registry, const std::string& name, const RegistryValueData& data)
{
    using Kind = RegistryValueData::Kind;
    switch (data.type) {
    case Kind::Nothing: return;
    case Kind::String: registry.WriteString(name, data.text); return;
    case Kind::ExpandString: registry.WriteExpandString(name, data.text); return;
    case Kind::Dword: registry.WriteInteger(name, static_cast<int32_t>(data.number)); return;
    case Kind::Binary:
        // A binary value that cannot be written is passed over without a word,
        // unlike every other type.
        try {
            registry.WriteBinary(name, data.number);
        } catch (const SetupError&) {
        }
        return;
    }
}

// A text value made from a folder whose name Shift-JIS cannot hold would
// name another folder: it is not written, and the report says why.
bool RefuseUnrepresentableValue(InstallRun& run, const RegistryItem& item, const RegistryValueData& data)
{
    using Kind = RegistryValueData::Kind;
    if ((data.type != Kind::String && data.type != Kind::ExpandString) || !HoldsUnrepresentableFolder(data.text))
        return false;
    ReportSkipped(run, FailureTag::Registry, item.key + " " + (item.name.empty() ? "(default)" : item.name),
                  PathFault::Unrepresentable);
    return true;
}

}  // namespace

Flow WriteRegistryValues(SetupCallback& person, InstallRun& run)
{
    for (const RegistryItem& item : run.Script().registry) {
        if (ShowStatusAndPoll(person, {Status::WritingRegistry}) == Flow::Stop) return Flow::Stop;
        const RegistryKeyName key = ParseRegistryKey(item.key);
        RegistryAccess registry(key.root, run.Changes());
        registry.CreateKey(key.subKey);
        registry.OpenKey(key.subKey, true);
        // A key that did not open refuses the value below with the layer's
        // value text.
        const RegistryValueData data = ParseRegistryValue(item.value, LocationsOf(run.State()));
        if (RefuseUnrepresentableValue(run, item, data)) continue;
        WriteRegistryValue(registry, item.name, data);
        if (data.type != RegistryValueData::Kind::Nothing)
            run.Log("Registry value written: " + item.key + " " + (item.name.empty() ? "(default)" : item.name));
    }
    return Flow::GoOn;
}
