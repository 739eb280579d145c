#include "PayloadCheck.h"

#include "packageformat/Sha256.h"

#include <algorithm>
#include <string_view>

namespace {

// A record's name against one of the plain ASCII names below, as Windows
// compares file names: letters without regard to case. A two-byte
// character's lead byte never equals an ASCII byte, so it never matches.
bool SameName(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

bool Holds(const std::vector<PackageFormat::Record>& records, std::string_view name)
{
    return std::any_of(records.begin(), records.end(),
                       [&](const PackageFormat::Record& record) { return SameName(record.name, name); });
}

}  // namespace

std::optional<std::vector<PackageFormat::Record>> CheckedRecords(const uint8_t* image, uint64_t size)
{
    const auto trailer = PackageFormat::FindTrailer(image, size);
    if (!trailer) return std::nullopt;
    const uint8_t* payload = image + trailer->payloadOffset;
    Sha256 digest;
    digest.Add(payload, static_cast<size_t>(trailer->payloadLength));
    if (digest.Finish() != trailer->payloadSha256) return std::nullopt;
    auto records = PackageFormat::ReadRecords(payload, trailer->payloadLength, trailer->fileCount);
    if (!records || !Holds(*records, "SETUP.EXE") || !Holds(*records, "SETUP.INI")) return std::nullopt;
    return records;
}
