// The system's message for a Windows error code, as the failure reports
// show it.
#pragma once

#include <string>

// One line of full-width text followed by CR LF; empty for code 0.
std::string SystemErrorText(unsigned long code);
