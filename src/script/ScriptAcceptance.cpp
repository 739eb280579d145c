#include "script/ScriptAcceptance.h"

#include <utility>

namespace {

// What keeps the bytes from being the text the profile reader reads.
ScriptFault FaultOfText(const std::string& bytes)
{
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) return ScriptFault::Utf16;
    if (bytes.starts_with("\xEF\xBB\xBF")) return ScriptFault::Utf8Mark;
    if (bytes.find('\0') != std::string::npos) return ScriptFault::NulByte;
    // The profile reader ends a line at a line feed only.
    if (bytes.find('\n') == std::string::npos && bytes.find('\r') != std::string::npos) return ScriptFault::NoLineFeeds;
    return ScriptFault::None;
}

}  // namespace

AcceptedScript AcceptScript(const std::string& bytes)
{
    AcceptedScript accepted;
    accepted.fault = FaultOfText(bytes);
    if (accepted.fault != ScriptFault::None) return accepted;
    ProfileText profile = ProfileText::Parse(bytes);
    if (profile.FindSection("Title") == nullptr && profile.FindSection("CopyFile") == nullptr)
        accepted.fault = ScriptFault::NoSetupSections;
    else
        accepted.script = ParseSetupScript(std::move(profile));
    return accepted;
}

const char* ScriptFaultReason(ScriptFault fault)
{
    switch (fault) {
    case ScriptFault::None: break;
    case ScriptFault::Utf16: return "it is saved as UTF-16; save it as Shift-JIS";
    case ScriptFault::Utf8Mark: return "it is saved as UTF-8 with a byte-order mark; save it as Shift-JIS";
    case ScriptFault::NulByte: return "it holds a NUL byte, which ends a name or value where it stands";
    case ScriptFault::NoLineFeeds: return "its lines end in carriage returns alone; save it with CR LF line ends";
    case ScriptFault::NoSetupSections: return "it has neither a [Title] nor a [CopyFile] section: it is no setup script";
    }
    return "";
}
