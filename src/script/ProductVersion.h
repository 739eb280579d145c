// A product's version as Windows and package managers compare them: one to
// four whole numbers between points ("1", "2.1", "10.0.3.117"), each
// compared as a number, so that "1.10" is newer than "1.9" and "1.0" is the
// same as "1". Anything else ("1.0-beta", "v2", "1..2", an empty text) is
// no version this program can order: an install then goes on as it always
// did.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

using ProductVersion = std::array<uint32_t, 4>;

// The four numbers, missing ones 0; nothing for a text that is no version.
std::optional<ProductVersion> ParseProductVersion(const std::string& text);

// How the version being installed stands to the one installed. Unknown
// when either is missing or no version.
enum class VersionOrder { Unknown, Older, Same, Newer };
VersionOrder CompareProductVersions(const std::string& installing, const std::string& installed);
