// The run state that the tests hand to the forms and procedures they drive:
// one for the test program, as the process entry has one for its run.
#pragma once

#include "engine/RunState.h"

extern RunState TheRun;

// The run state's folders, settings and results as they were when it was
// made, put back by Restore (the log stays as it is).
class SavedRunState {
public:
    explicit SavedRunState(const RunState& run) : machine_(run), settings_(run), results_(run) {}
    void Restore(RunState& run) const
    {
        static_cast<MachineFolders&>(run) = machine_;
        static_cast<RunSettings&>(run) = settings_;
        static_cast<InstallResults&>(run) = results_;
    }

private:
    MachineFolders machine_;
    RunSettings settings_;
    InstallResults results_;
};
