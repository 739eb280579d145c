// The driver's guard over each input: a watchdog thread that ends the
// process when one input runs longer than its limit, and a last-chance
// handler for crashes (an unhandled system exception, std::terminate,
// abort). Either saves the input under the findings folder, prints one line
// naming its kind, seed and index, and ends the process with its own exit
// code, so that a wrapper script can start again after that index.
#pragma once

#include "FuzzInputs.h"

#include <cstdint>
#include <string>

namespace FuzzExit {
inline constexpr int Clean = 0;
inline constexpr int Faults = 1;  // the run ended with crashes, time-outs or touches counted
inline constexpr int Usage = 2;
inline constexpr int Crash = 70;
inline constexpr int TimeOut = 71;
}  // namespace FuzzExit

// Starts the watchdog and installs the handlers; `findings` ends with "\".
void StartGuard(const std::string& findings, uint64_t seed, unsigned long limitMilliseconds);

// The input now running, saved (as "current-<kind>") before it runs so that
// even a crash the handler cannot report leaves it behind.
void GuardInput(const FuzzInput& input);
// No input running.
void GuardIdle();

// Saves `input` as "<what>-<kind>-s<seed>-i<index>.<extension>" in the
// findings folder; returns the path.
std::string SaveFinding(const char* what, const FuzzInput& input);
