// The progress bar and its label during the copy phase: by bytes while every
// source size is known, else by entries.
#pragma once

#include "install/InstallRun.h"
#include "ui/SetupCallback.h"

// The bar position after the entry numbered `entryNumber` (1-based):
// trunc(doneBytes / totalBytes x 100) by bytes, entryNumber x 100 div
// CopyEntryCount by entries. Always within 0 to 100.
int ProgressPosition(const InstallRun& run, int entryNumber);

// Sets the bar, reads its position back and shows it in the label with the
// entries processed and the entries in all: "50%(3/6)".
void ShowCopyProgress(SetupCallback& person, const InstallRun& run, int entryNumber);
