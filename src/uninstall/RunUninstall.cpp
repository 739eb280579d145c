#include "uninstall/RunUninstall.h"

// PLACEHOLDER, not the uninstall procedure: until the uninstall engine is
// written, pressing the start button only ends the run, so that the windows
// and their flow can be used and tested. The uninstall developer replaces
// this file.
void RunUninstall(RunWindows& windows)
{
    windows.EndRun();
}
