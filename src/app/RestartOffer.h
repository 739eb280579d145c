// The last act of a setup that asked for a Windows restart, once every
// window is gone.
#pragma once

// When the run state's restart flag is 1: the shell's restart dialog, and
// after a declining answer the warning that the setup completes with the
// restart.
void OfferRestartIfNeeded();
