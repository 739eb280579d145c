// The `check` command's judgement of a setup script and its distribution
// folder: each place where the installer would do something other than
// what the author most likely meant, with a plain explanation.
#pragma once

#include "Distribution.h"
#include "script/SetupScript.h"

#include <string>
#include <vector>

struct Finding {
    std::string section;
    std::string key;          // empty for a finding about a whole section
    std::string explanation;  // Shift-JIS, script values quoted in it
};

std::vector<Finding> CheckScript(const SetupScript& script, const Distribution& distribution);

// "[Section] Key: explanation".
std::string FormatFinding(const Finding& finding);
