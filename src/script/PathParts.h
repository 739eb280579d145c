// Folder and file-name parts of a path, and the checks that a path names a
// place of its own. The separator is the last "\" or ":" that is a
// character of its own (never the second byte of a two-byte one).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// One backslash at the end or start of a path, added when missing or
// removed when there (one only); a trailing byte 0x5C of a two-byte
// character is no backslash. An empty path becomes "\" either way.
std::string WithTrailingBackslash(const std::string& path);
std::string WithoutTrailingBackslash(const std::string& path);
std::string WithLeadingBackslash(const std::string& path);
std::string WithoutLeadingBackslash(const std::string& path);

// Everything up to and including the last separator; empty when there is none.
std::string FolderPart(const std::string& path);

// Everything after the last separator; the whole path when there is none.
std::string FileNamePart(const std::string& path);

// The folder that holds `folder` (given with its trailing backslash), with
// its own trailing backslash, cut at the last backslash only: a colon inside
// a step (a damaged record's path) is no separator. Empty for a folder
// without a backslash before its last step.
std::string ParentFolder(const std::string& folder);

// The drive of a path: "C:" for C:\APP\, "\\server\share" for a network path
// \\server\share\APP\; empty when the path names neither.
std::string DrivePart(const std::string& path);

// The file name's last dot (a character of its own) and what follows it:
// ".LOG" for C:\LOGS\A.B.LOG; empty when the name has no dot.
std::string ExtensionPart(const std::string& path);

// The path with the text after the last dot of its file name replaced by
// `extension` (given without the dot); a name without a dot gets one added.
std::string ChangeExtension(const std::string& path, const std::string& extension);

// A path that names a folder on its own: "X:\..." or "\\server\share\...".
// A relative path (the empty setup folder of a damaged record becomes "\")
// would name a folder of whatever drive and folder is current.
bool IsAbsoluteFolder(const std::string& folder);

// True when the path holds "*" or "?": a pattern, not one file.
bool HasWildcards(const std::string& path);

// The stand-in for a folder of this system whose name Shift-JIS cannot hold
// (a profile folder "Zoë"): the mark "<?>" and the name as shown, with "?"
// for what Shift-JIS lacks. It is no path (it starts with no drive and holds
// "<" and "?"), so every path made from it is refused, never written to a
// folder that a "?" would name wrongly.
std::string UnrepresentableFolder(const std::string& shown);

// True when the text was made from such a folder.
bool HoldsUnrepresentableFolder(const std::string& text);

// The path as a report shows it, without the marks of such folders.
std::string WithoutUnrepresentableMarks(const std::string& path);

// Every "(" word ")" of one to eight ASCII letters or "_" in a text: the
// shape of the script's tokens, known or not. Parentheses around digits or
// blanks, as in "Program Files (x86)", are taken for what they are.
struct TokenShape {
    size_t at;         // 0-based
    std::string text;  // "(" and ")" included
};
std::vector<TokenShape> TokenShapesIn(const std::string& text);

// What keeps a path of the script or of the person from naming a place on
// this machine: every folder and file the install makes must be one.
enum class PathFault {
    None,
    Unrepresentable,  // made from a folder whose name Shift-JIS cannot hold
    NotAbsolute,    // no drive or share at its start: it would land in the current folder
    TokenLeft,      // a "(Word)" that no location token replaced
    BadCharacter,   // a character no file name may hold
    TooLong,        // longer than the system's path limit
};
PathFault FaultOfPath(const std::string& path);

// The system's longest path, without the terminating zero.
inline constexpr size_t LongestPath = 259;
