// Files that the build puts beside the test programs: the test components
// (regok.dll, regfail.dll, regnone.dll). Used by the tests and by the
// sample walk-through, so nothing here depends on the test framework.
#pragma once

#include <string>

// The folder of the running test program, with a trailing backslash.
std::string ProgramFolder();

// Copies a file; false when the copy failed.
bool CopyFixture(const std::string& source, const std::string& destination);

// What the test components' registration entries last did for the component
// at `componentPath`: "registered", "unregistered", or empty when no entry of
// it ran since the traces were cleared.
std::string RegistrationTrace(const std::string& componentPath);
void ClearRegistrationTraces();
