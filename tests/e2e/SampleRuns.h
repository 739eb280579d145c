// The sample's install and uninstall driven as a person does them, and the
// check of a machine against its snapshot, for the round trips of the
// interactive and the unattended runs.
#pragma once

#include "MachineSnapshot.h"
#include "SampleDistribution.h"

#include <string>
#include <vector>

// Only the differences named in `allowed` (and Wine's own session churn)
// may remain between the two snapshots.
void CheckOnlyAllowedDifferences(const MachineState& before, const MachineState& after,
                                 std::vector<AllowedDifference> allowed);

// SETUP.EXE from the first screen to the restart offer, as a person answers;
// disk 2 is copied into `drive` when it is asked for.
void InstallSample(const SampleInstallation& sample, const std::string& drive, const std::string& temp);

// The Add/Remove entry's command, run exactly as stored: the uninstall
// screen, the start button, Yes for the shared component that nothing counts
// any more, and OK at the end.
void UninstallSample(const SampleInstallation& sample, const std::string& temp);
