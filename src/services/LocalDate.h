// Today's date on this machine's clock, as logs and the Add/Remove entry
// write it.
#pragma once

#include <string>

// YYYY, MM and DD with `separator` between them: "2026-12-07" for "-",
// "20261207" for "".
std::string LocalDate(const std::string& separator);
