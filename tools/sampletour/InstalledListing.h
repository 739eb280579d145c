// What an install put into the machine, told readably: the difference of
// two snapshots of the machine, as files and folders with their sizes,
// shortcuts with where they lead, and registry values with their data.
#pragma once

#include "e2e/MachineSnapshot.h"

#include <string>
#include <vector>

// The lines (Shift-JIS) of the listing, under headings, in path order. A
// file that the machine shows under several names is listed once, under the
// name in `preferredNames` when it has one there.
std::vector<std::string> ListInstalled(const MachineState& before, const MachineState& after,
                                       const std::vector<std::string>& preferredNames);
