// The stub's command line as SETUP.EXE gets it: everything after the stub's
// own name, unchanged, so that every switch (/VERYSILENT, /DIR="...", /LOG)
// means to SETUP.EXE what it means when SETUP.EXE is started directly.
#pragma once

#include <string>

// The text after the program name of `commandLine` and the blanks behind
// it. The name ends as CommandLineToArgvW ends the first argument: at the
// closing quote when it starts with one, else at the first blank.
std::wstring ArgumentsAfterProgram(const std::wstring& commandLine);

// True when `arguments` make SETUP.EXE run unattended (/SILENT, /VERYSILENT
// or /S): the run has nobody to show a box to.
bool AsksForSilence(const std::wstring& arguments);
