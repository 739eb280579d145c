// Compressing one file on disk: the `compress` command and the layout.
#pragma once

#include <filesystem>
#include <string>

// Writes the compressed form of `source` to `target`, with `storedChar` in
// the header, and gives it the source's time stamp.
bool CompressFileTo(const std::filesystem::path& source, const std::filesystem::path& target,
                    unsigned char storedChar, std::string& error);

// Compresses `source` under its compressed name (README.TXT -> README.TX_)
// into `targetFolder`, or beside the source when it is empty. `written` is
// the file made.
bool CompressBesideOrInto(const std::filesystem::path& source, const std::filesystem::path& targetFolder,
                          std::filesystem::path& written, std::string& error);
