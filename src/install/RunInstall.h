// The install procedure, run by the main window's action button on
// "セットアップ開始(&S)". It runs to its end inside the click handler and ends
// the run itself.
#pragma once

#include "windows/RunWindows.h"

void RunInstall(RunWindows& windows);
