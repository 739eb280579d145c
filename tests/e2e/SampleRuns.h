// The sample's install and uninstall driven as a person does them, and the
// check of a machine against its snapshot, for the round trips of the
// interactive and the unattended runs.
#pragma once

#include "MachineSnapshot.h"
#include "SampleDistribution.h"
#include "driver/Driver.h"
#include "support/Scratch.h"

#include <windows.h>

#include <string>
#include <vector>

// Only the differences named in `allowed` (and Wine's own session churn)
// may remain between the two snapshots.
void CheckOnlyAllowedDifferences(const MachineState& before, const MachineState& after,
                                 std::vector<AllowedDifference> allowed);

// SETUP.EXE from the first screen to the restart offer, as a person answers;
// disk 2 is copied into `drive` when it is asked for.
void InstallSample(const SampleInstallation& sample, const std::string& drive, const std::string& temp);
// The same for a SETUP.EXE started already, from its readme screen on.
void InstallSampleFromReadme(const SampleInstallation& sample, SetupProcess& setup, const std::string& drive);

// The Add/Remove entry's command, run exactly as stored: the uninstall
// screen, the start button, Yes for the shared component that nothing counts
// any more, and OK at the end.
void UninstallSample(const SampleInstallation& sample, const std::string& temp);

// What an unattended run showed while the test waited for its end.
struct Sightings {
    bool anyWindow = false;
    bool progressWindow = false;
    bool messageBox = false;
};

// Watches the windows of a started run until it ends, and returns what it
// showed; the exit code is the process's.
Sightings RunToEnd(SetupProcess& setup, DWORD timeout = 120000);

// The log's lines without their time stamps ("YYYY-MM-DD hh:mm:ss.mmm "),
// as UTF-8.
std::vector<std::string> LogLines(const std::string& path);

bool HasLine(const std::vector<std::string>& lines, const std::string& utf8);

// The sample laid out as orvauthor lays it out, DISK1 and DISK2 side by
// side, and the folders of the runs (named after `name`); the machine rid
// of the sample before and after.
struct LaidOutSample {
    SampleInstallation sample;
    ScratchFolder layout;
    ScratchFolder temp;
    ScratchFolder logs;
    std::string log = logs / "install.log";

    explicit LaidOutSample(const std::string& name);
    ~LaidOutSample() { sample.RemoveTraces(); }
    LaidOutSample(const LaidOutSample&) = delete;
    LaidOutSample& operator=(const LaidOutSample&) = delete;

    std::string Disk(int n) const { return layout / ("DISK" + std::to_string(n) + "\\"); }

    // The administrator's command line with `switches` after
    // /VERYSILENT /SUPPRESSMSGBOXES /NORESTART (the sample asks for a
    // restart, which would end the Wine session) and before the log; the
    // exit code. No window may show.
    DWORD InstallUnattended(const std::string& switches = "/DIR=\"(Prg)\\Orvane Sample\"") const;

    std::vector<AllowedDifference> RunFolders() const;

    // The log of an unattended install that failed and was undone.
    void CheckUndone(const std::vector<std::string>& lines) const;
};
