// Temporary folders and files for tests, under the Wine prefix's temporary
// folder, removed again when the test ends.
#pragma once

#include <string>

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
