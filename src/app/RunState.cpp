#include "app/RunState.h"

RunState TheRun;
