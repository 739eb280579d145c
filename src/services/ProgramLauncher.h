// Starting a program through the shell's "open" action, as the end of a setup
// does. Tests install a launcher that records the request instead.
#pragma once

#include <string>

class ProgramLauncher {
public:
    virtual ~ProgramLauncher() = default;
    // The shell's result: a number greater than 32 on success.
    virtual long long Open(const std::string& file, const std::string& parameters) = 0;
};

// Opens `file` with `parameters` (none when empty), no working folder, normal
// show state, the desktop window as owner.
long long OpenWithShell(const std::string& file, const std::string& parameters);

void InstallProgramLauncher(ProgramLauncher* launcher);
