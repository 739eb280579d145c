// The system's message for a Windows error code, as the failure reports
// show it.
#pragma once

#include <string>

// The system's own message for `code` (an error code or an HRESULT) in
// Shift-JIS, characters it cannot hold shown as "?"; empty when the system
// has none.
std::string SystemMessage(unsigned long code);

// One line of full-width text followed by CR LF; empty for code 0.
std::string SystemErrorText(unsigned long code);

// "<subject> (error 5: <the same text>)", for log lines about a failed
// action; "(error N)" alone when the system has no text for the code.
std::string WithSystemError(const std::string& subject, unsigned long code);
