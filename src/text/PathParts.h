// Folder and file-name parts of a path. The separator is the last "\" or ":"
// that is a character of its own (never the second byte of a two-byte one).
#pragma once

#include <string>

// Everything up to and including the last separator; empty when there is none.
std::string FolderPart(const std::string& path);

// Everything after the last separator; the whole path when there is none.
std::string FileNamePart(const std::string& path);

// The drive of a path: "C:" for C:\APP\, "\\server\share" for a network path
// \\server\share\APP\; empty when the path names neither.
std::string DrivePart(const std::string& path);

// The path with the text after the last dot of its file name replaced by
// `extension` (given without the dot); a name without a dot gets one added.
std::string ChangeExtension(const std::string& path, const std::string& extension);
