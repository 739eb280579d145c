// Temporary folders and files for tests, under the Wine prefix's temporary
// folder, removed again when the test ends.
#pragma once

#include "services/Win32Files.h"

#include <string>
#include <vector>

class ScratchFolder {
public:
    // A new, empty folder named after `purpose`, with a trailing backslash.
    explicit ScratchFolder(const std::string& purpose = "t");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }

private:
    std::string path_;
};

void WriteTextFile(const std::string& path, const std::string& bytes);
std::string ReadTextFile(const std::string& path);
bool PathExists(const std::string& path);

// Removes a folder with everything in it, read-only files included.
void RemoveTree(const std::string& folder);

// The lines of a CR LF text without the empty ones: a profile file as the
// system lays it out, compared line by line.
std::vector<std::string> NonBlankLines(const std::string& text);

// Holds a file (or folder) open for as long as it lives, without sharing by
// default: a failure that not even root gets past (32, sharing violation).
// Throws when the file cannot be opened, which fails the test.
class HeldOpen {
public:
    explicit HeldOpen(const std::string& path, unsigned long share = 0);

private:
    FileHandle handle_;
};

// A drive letter with its colon ("Q:") that names no drive of the system,
// so that nothing can be measured or made on it; empty when every letter
// from D: to Y: is taken.
std::string MissingDrive();
