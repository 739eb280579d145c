// Files that the build puts beside the test programs: the test components
// (regok.dll, regfail.dll, regnone.dll) and the compressed files made by an
// independent compressor (under fixtures\lz of the build tree).
#pragma once

#include <string>

// The folder of the running test program, with a trailing backslash.
std::string ProgramFolder();

// The build's folder of compressed fixtures, with a trailing backslash.
std::string LzFixtureFolder();

// The bytes of one file of that folder: README.TXT and SAMPLE.DAT, and their
// compressed forms README.TXT_ and SAMPLE.DAT_. Fails the test when the
// build has not made it.
std::string LzFixture(const std::string& name);

// mscompress names its output with "_" after the whole name and stores no
// last character; the classic form of a compressed file replaces the last
// character of the name and keeps it in the header.
std::string ClassicLzForm(std::string compressed, char lastCharacter);

// Copies a file; false when the copy failed.
bool CopyFixture(const std::string& source, const std::string& destination);

// What the test components' registration entries last did for the component
// at `componentPath`: "registered", "unregistered", or empty when no entry of
// it ran since the traces were cleared.
std::string RegistrationTrace(const std::string& componentPath);
void ClearRegistrationTraces();
