// The compressed files that the build makes with an independent compressor
// of the system's LZ format (under fixtures\lz of the build tree).
#pragma once

#include <string>

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
