// The copy phase of the install: the files of [CopyFile], with disk changes,
// expansion of compressed files, the overwrite decision, the shared-DLL
// counts and registration, the items for the uninstaller, the failures for
// the report, and the progress display.
#pragma once

#include "install/InstallFlow.h"

// Works through the entries in order; per entry the effects come in a fixed
// order: disk prompt, expansion, status text, overwrite question, shared
// count, copy, registration, record, clean-up of the expanded file, size,
// progress, pause. Afterwards the record itself (unSetupPath) is the last
// item of deleteFileList, so that the uninstaller removes it too.
Flow CopyFiles(SetupCallback& person, InstallRun& run);
