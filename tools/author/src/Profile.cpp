#include "Profile.h"

#include "FileData.h"
#include "SjisText.h"
#include "SystemText.h"
#include "text/ScriptAcceptance.h"

#include <utility>

Profile Profile::Parse(const std::string& text)
{
    return Profile(ProfileText::Parse(text));
}

std::optional<Profile> Profile::Load(const std::filesystem::path& file, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(file, bytes, error)) return std::nullopt;
    std::string text(bytes.begin(), bytes.end());
    // Read as the installer reads it: a script it refuses is refused here.
    const ScriptFault fault = FaultOfScript(text);
    if (fault != ScriptFault::None && fault != ScriptFault::NoSetupSections) {
        error = DisplayPath(file) + ": " + ScriptFaultReason(fault);
        return std::nullopt;
    }
    return Parse(text);
}
