// Reading a shortcut file back through the shell's link object, as the shell
// itself would when the link is used.
#pragma once

#include <string>

struct LinkFields {
    std::string path;
    std::string workingFolder;
    std::string arguments;
};

// The fields of the shortcut file; fails the test when the shell cannot load
// it. COM must be initialised on the thread (the test main does it).
LinkFields ReadLink(const std::string& file);
