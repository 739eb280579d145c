// Signing with the author's own tool (`package --sign "COMMAND"`): COMMAND
// is run once per file with {file} replaced by the file's path, quoted. A
// tool that signs in place (signtool, jsign) needs only {file}; one that
// writes the signed program elsewhere (osslsigncode's -out) is given
// {signed}, a path beside the file, and its output then takes the file's
// place. The result must be the file with a signature appended, nothing
// else (SignatureCheck.h).
#pragma once

#include <filesystem>
#include <string>

// Why `command` cannot be used (no {file}), or empty.
std::string SigningCommandProblem(const std::string& command);

// Signs `file` in place with `command`; false, with `error` set, when the
// command fails or leaves the file unsigned or otherwise changed (the file
// is then left as the command left it, for the caller to throw away).
bool SignFile(const std::string& command, const std::filesystem::path& file, std::string& error);
