#include "script/ProductVersion.h"

std::optional<ProductVersion> ParseProductVersion(const std::string& text)
{
    ProductVersion version{};
    size_t count = 0;
    size_t at = 0;
    for (;;) {
        const size_t point = text.find('.', at);
        const std::string part = text.substr(at, point == std::string::npos ? std::string::npos : point - at);
        // Nine digits at most: every such number fits 32 bits.
        if (part.empty() || part.size() > 9 || part.find_first_not_of("0123456789") != std::string::npos)
            return std::nullopt;
        if (count == version.size()) return std::nullopt;
        version[count++] = static_cast<uint32_t>(std::stoul(part));
        if (point == std::string::npos) return version;
        at = point + 1;
    }
}

VersionOrder CompareProductVersions(const std::string& installing, const std::string& installed)
{
    const std::optional<ProductVersion> mine = ParseProductVersion(installing);
    const std::optional<ProductVersion> theirs = ParseProductVersion(installed);
    if (!mine || !theirs) return VersionOrder::Unknown;
    if (*mine < *theirs) return VersionOrder::Older;
    return *mine == *theirs ? VersionOrder::Same : VersionOrder::Newer;
}
