#include "ScriptFile.h"

#include "FileData.h"
#include "SystemText.h"
#include "script/ScriptAcceptance.h"

#include <utility>

std::optional<SetupScript> LoadScript(const std::filesystem::path& file, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(file, bytes, error)) return std::nullopt;
    // Read as the installer reads it: a script it refuses is refused here.
    AcceptedScript accepted = AcceptScript(std::string(bytes.begin(), bytes.end()));
    if (accepted.fault != ScriptFault::None) {
        error = DisplayPath(file) + ": " + ScriptFaultReason(accepted.fault);
        return std::nullopt;
    }
    return std::move(accepted.script);
}
