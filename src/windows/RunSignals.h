// What the windows and the procedures tell each other about the run, as
// values: the abort the person confirmed, and whether the run has ended so
// that closing the main window asks nothing more. (The windows still look
// as they always did: the main window is disabled by the abort, the
// background enabled at the end; nothing reads those states any more.)
#pragma once

struct RunSignals {
    bool abortRequested = false;
    bool mayEndWithoutAsking = false;
};
