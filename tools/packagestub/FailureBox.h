// The stub's only window: a box that says why the setup could not start,
// for a person who double-clicked the package. A silent run shows nothing;
// its exit code says it.
#pragma once

enum class StubFailure {
    Damaged,      // the package's checks failed: a broken or cut-off download
    CannotUnpack, // the temporary folder refused the files (full, no rights)
    CannotStart,  // SETUP.EXE was unpacked but did not start
};

void ShowFailure(StubFailure failure);
