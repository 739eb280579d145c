// The run state that the tests hand to the forms and procedures they drive:
// one for the test program, as the process entry has one for its run.
#pragma once

#include "engine/RunState.h"

extern RunState TheRun;
