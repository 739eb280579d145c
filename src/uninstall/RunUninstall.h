// The uninstall procedure, run by the main window's action button on
// "アンセットアップ開始(&S)". It runs to its end inside the click handler and
// ends the run itself.
#pragma once

#include "engine/RunState.h"
#include "ui/SetupCallback.h"

RunOutcome RunUninstall(SetupCallback& person, RunState& state);
