// What SETUP.EXE does with each [CopyFile] entry, found by the installer's
// own parser (script/CopyFileSection.h) on a stand-in machine whose every
// folder is named after its token: the file the copy step reads and the
// disk it reads it from, where it installs it, whether it expands it, and
// the name under which the measuring step looked for it before.
#pragma once

#include "script/CopyFileSection.h"
#include "script/SetupScript.h"

#include <string>
#include <vector>

struct PredictedCopy {
    int number = 0;     // File<n>
    std::string value;  // as written
    CopyEntry entry;    // the copy step's reading; its source is the bare file name
    int disk = 1;       // the disk the copy step reads the source from
    // The name the measuring step looks for on the first disk: the file-name
    // part of the value as written, its tokens not expanded.
    std::string measuredName;

    const std::string& SourceName() const { return entry.source; }
    // The measuring step looks for another name than the copy step reads
    // ("(Sys)ACCSHR.DLL" against "ACCSHR.DLL").
    bool MeasuredUnderAnotherName() const;
};

std::vector<PredictedCopy> PredictCopies(const SetupScript& script);
