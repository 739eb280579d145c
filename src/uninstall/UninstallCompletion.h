// The end of an uninstall: the completion message and the end of the run.
#pragma once

#include "ui/SetupCallback.h"

void CompleteUninstall(SetupCallback& person);
