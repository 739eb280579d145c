// Administrator rights: whether this process has them, and starting this
// program again with them (the system's consent prompt) for a machine
// install that was started without.
#pragma once

#include <string>

// True when the process runs with administrator rights (an elevated token).
// A system that cannot tell is taken as one without elevation at all, where
// every process has the rights its user has: true.
bool ProcessIsElevated();

struct ElevatedRun {
    bool started = false;
    unsigned long error = 0;     // the system's code when it did not start; ERROR_CANCELLED: declined
    unsigned long exitCode = 0;  // the elevated run's, once it ended
};

// Starts `program` with `parameters` through the shell's "runas" verb and
// waits for it to end.
ElevatedRun RunElevated(const std::wstring& program, const std::wstring& parameters);

// The parameters of a command line: everything after the program's own
// name (quoted or not), as the system gives the line.
std::wstring ParametersOf(const std::wstring& commandLine);

// The parameters of the elevated run of `commandLine`: the same, with
// `extraSwitch` when one is given, and with a log (`logPath`, the file this
// run writes) named outright, so that the elevated run appends to this very
// file rather than making a fresh one or passing over it.
std::wstring ElevatedParameters(const std::wstring& commandLine, const std::wstring& extraSwitch,
                                const std::wstring& logPath);
