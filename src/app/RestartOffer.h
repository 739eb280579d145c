// The last act of a setup that asked for a Windows restart, once every
// window is gone.
#pragma once

#include "engine/RunState.h"

// When the install asked for a restart: the shell's restart dialog, and
// after a declining answer the warning that the setup completes with the
// restart.
void OfferRestartIfNeeded(const InstallResults& results);
