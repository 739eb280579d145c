// The program's first command-line argument, which decides the mode and, in
// uninstall mode, names the record.
#pragma once

#include <string>

// The first argument after the program's own name in `commandLine`, empty
// when there is none. Arguments are separated by blanks and control
// characters; double quotes group blanks into one argument and are dropped.
std::string FirstArgument(const std::string& commandLine);
