#include "support/TestRunState.h"

RunState TheRun;
