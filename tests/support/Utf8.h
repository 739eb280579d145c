// Shift-JIS text as UTF-8, for messages a person reads: test failures and
// the walk-throughs' output.
#pragma once

#include <string>

std::string Utf8(const std::string& shiftJis);
