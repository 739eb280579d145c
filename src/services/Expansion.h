// Expansion of files compressed with the system's LZ compression ("SZDD"),
// for the file copy of the install: expand into one temporary file, copy that
// to the destination, delete it.
#pragma once

#include <string>

// Where an expansion put the file and where it goes.
struct ExpandedFile {
    std::string temporary;    // the temporary folder + "EXPAND.OVX"
    std::string destination;  // the destination, "AUTO.EXT" resolved
    // The source is there but does not expand: cut short, corrupted, or
    // empty. No temporary file is left then.
    bool damaged = false;
};

// Expands `source` into the temporary file (a file without the compressed
// header is copied through unchanged). A destination whose file name is
// exactly "AUTO.EXT" takes the name stored in the compressed file, in upper
// case. When the source cannot be opened, is empty, or a compressed source
// yields another length than its header announces, no temporary file is left
// and the result says the source is damaged. The two paths
// are kept apart rather than joined by a comma, which a temporary folder may
// contain itself (a user named "Smith, J").
ExpandedFile ExpandToTemp(const std::string& source, const std::string& destination, const std::string& temporaryFolder);
