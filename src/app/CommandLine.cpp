#include "app/CommandLine.h"

namespace {

// No Shift-JIS trail byte is a blank, a control character or a double
// quote, so the bytes can be looked at one by one.
bool IsSeparator(char byte)
{
    return static_cast<unsigned char>(byte) <= ' ';
}

// Reads the argument that starts at or after `at`; `at` ends behind it.
std::string NextArgument(const std::string& line, size_t& at)
{
    while (at < line.size() && IsSeparator(line[at])) ++at;
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

}  // namespace

std::string FirstArgument(const std::string& commandLine)
{
    size_t at = 0;
    NextArgument(commandLine, at);
    return NextArgument(commandLine, at);
}
