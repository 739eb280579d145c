#include "SystemCommand.h"

#include <cstdio>
#include <cstdlib>

#ifndef _WIN32
#include <sys/wait.h>
#endif

std::string QuotedForCommand(const std::filesystem::path& path)
{
#ifdef _WIN32
    // A Windows file name holds no double quote.
    std::string quoted = "\"";
    quoted += path.string();
    quoted += '"';
    return quoted;
#else
    std::string quoted = "'";
    for (const char c : path.string()) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
#endif
}

int RunCommand(const std::string& commandLine)
{
    // What the command prints goes out before it, not after.
    std::fflush(stdout);
    std::fflush(stderr);
#ifdef _WIN32
    // cmd.exe /c takes away the first and the last quote of a line that
    // starts with one; an outer pair of its own keeps the author's intact.
    std::string quoted = "\"";
    quoted += commandLine;
    quoted += '"';
    return std::system(quoted.c_str());
#else
    const int status = std::system(commandLine.c_str());
    return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}
