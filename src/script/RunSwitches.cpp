#include "script/RunSwitches.h"

#include "script/DeviceNames.h"
#include "script/PathParts.h"
#include "script/TextCase.h"

#include <cctype>
#include <vector>

namespace {

bool IsSeparator(char byte)
{
    return static_cast<unsigned char>(byte) <= ' ';
}

// Reads the argument that starts at or after `at`; `at` ends behind it.
// `found` tells an empty quoted argument ("") from the end of the line.
std::string NextArgument(const std::string& line, size_t& at, bool& found)
{
    while (at < line.size() && IsSeparator(line[at])) ++at;
    found = at < line.size();
    std::string argument;
    bool quoted = false;
    for (; at < line.size(); ++at) {
        const char byte = line[at];
        if (byte == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && IsSeparator(byte)) break;
        argument += byte;
    }
    return argument;
}

// Applies one switch ("/NAME" or "/NAME=value"); false when it is none of
// ours or lacks or carries a value against its kind.
bool ApplySwitch(RunOptions& options, const std::string& argument)
{
    const size_t equals = argument.find('=');
    const std::string name = AsciiUpper(argument.substr(1, equals == std::string::npos ? std::string::npos : equals - 1));
    const bool hasValue = equals != std::string::npos;
    const std::string value = hasValue ? argument.substr(equals + 1) : std::string();
    if (name == "DIR") {
        if (value.empty()) return false;
        options.setupFolder = value;
        return true;
    }
    if (name == "LOG") {
        if (hasValue && value.empty()) return false;
        options.log = true;
        options.logFile = value;
        // The first fault stays, as the line's does.
        if (options.logFault.empty()) options.logFault = LogFileFault(value);
        return options.logFault.empty();
    }
    if (hasValue) return false;
    if (name == "SILENT") {
        if (options.presence == Presence::Interactive) options.presence = Presence::Silent;
    } else if (name == "VERYSILENT") {
        options.presence = Presence::VerySilent;
    } else if (name == "S") {
        options.presence = Presence::VerySilent;
        options.suppressMessageBoxes = true;
    } else if (name == "SUPPRESSMSGBOXES") {
        options.suppressMessageBoxes = true;
    } else if (name == "NOICONS") {
        options.noIcons = true;
    } else if (name == "NORESTART") {
        options.noRestart = true;
    } else if (name == "ALLOWDOWNGRADE") {
        options.allowDowngrade = true;
    } else if (name == "REPAIR") {
        options.repair = true;
    } else if (name == "ALLUSERS" || name == "CURRENTUSER") {
        const ScopeSwitch scope = name == "ALLUSERS" ? ScopeSwitch::AllUsers : ScopeSwitch::CurrentUser;
        if (options.scope != ScopeSwitch::None && options.scope != scope) return false;
        options.scope = scope;
    } else if (name == "FINISHPENDING") {
        options.finishPending = true;
    } else if (name == "?" || name == "HELP") {
        options.help = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

std::string LogFileFault(const std::string& path)
{
    if (path.rfind("\\\\.\\", 0) == 0 || path.rfind("\\\\?\\", 0) == 0) return "a device path, not a file";
    // No trail byte is a colon or a slash: the bytes can be looked at one by
    // one. A colon names a drive only right after its letter.
    for (size_t at = 0; at < path.size(); ++at) {
        const bool driveColon = at == 1 && std::isalpha(static_cast<unsigned char>(path[0]));
        if (path[at] == ':' && !driveColon) return "an alternate stream, not a file";
    }
    std::string name = FileNamePart(path);
    if (const size_t slash = name.rfind('/'); slash != std::string::npos) name.erase(0, slash + 1);
    if (IsDeviceName(name)) return "a device, not a file";
    return {};
}

std::vector<std::string> CommandLineArguments(const std::string& commandLine)
{
    std::vector<std::string> arguments;
    size_t at = 0;
    for (;;) {
        bool found = false;
        std::string argument = NextArgument(commandLine, at, found);
        if (!found) return arguments;
        arguments.push_back(std::move(argument));
    }
}

RunOptions ParseCommandLine(const std::string& commandLine)
{
    RunOptions options;
    bool recordSeen = false;
    std::vector<std::string> arguments = CommandLineArguments(commandLine);
    // The program's own name is no argument of the run.
    if (!arguments.empty()) arguments.erase(arguments.begin());
    for (const std::string& argument : arguments) {
        if (!argument.empty() && argument[0] == '/') {
            if (!ApplySwitch(options, argument) && options.fault.empty())
                options.fault = options.logFault.empty() ? argument : argument + " (" + options.logFault + ")";
        } else if (!recordSeen) {
            // Only the first plain argument ever meant anything; later ones
            // are passed over as they always were.
            options.record = argument;
            recordSeen = true;
        }
    }
    return options;
}
