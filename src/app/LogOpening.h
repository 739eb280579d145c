// The log that /LOG asks for: opened before anything else happens, with a
// header that tells an administrator which program ran where and how.
#pragma once

#include "app/CommandLine.h"
#include "engine/RunState.h"

#include <string>

// "Orvane Setup Log YYYY-MM-DD #NNN.txt" in `folder` with the first number
// from 001 that no file uses yet.
std::string FreshLogPath(const std::string& folder, const std::string& date);

// Opens the log when the options ask for one and writes its header. A log
// that cannot be opened is noted in the run state for the failure report.
void OpenRunLog(RunState& state, const RunOptions& options, const std::string& commandLine);
