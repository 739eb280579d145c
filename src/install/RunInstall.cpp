#include "install/RunInstall.h"

// PLACEHOLDER, not the install procedure: until the install engine is
// written, pressing the start button only ends the run, so that the windows
// and their flow can be used and tested. The install developer replaces this
// file.
void RunInstall(RunWindows& windows)
{
    windows.EndRun();
}
