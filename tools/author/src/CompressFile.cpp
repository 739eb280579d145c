#include "CompressFile.h"

#include "CompressedName.h"
#include "FileData.h"
#include "LzCompressor.h"
#include "SystemText.h"

#include <cstdint>
#include <vector>

namespace {

// The format allows 4 GiB; the whole file is held in memory, so a
// distribution file is refused well before that.
constexpr uintmax_t kLargestFile = uintmax_t{1} << 30;

}  // namespace

bool CompressFileTo(const std::filesystem::path& source, const std::filesystem::path& target,
                    unsigned char storedChar, std::string& error)
{
    std::error_code code;
    if (!std::filesystem::is_regular_file(source, code)) {
        error = DisplayPath(source) + " is not a file";
        return false;
    }
    if (std::filesystem::file_size(source, code) > kLargestFile) {
        error = DisplayPath(source) + " is larger than 1 GiB";
        return false;
    }
    std::vector<uint8_t> data;
    if (!ReadFileBytes(source, data, error)) return false;
    if (!WriteFileBytes(target, CompressLz(data, storedChar), error)) return false;
    std::filesystem::last_write_time(target, std::filesystem::last_write_time(source, code), code);
    if (code) {
        error = "cannot set the time stamp of " + DisplayPath(target) + ": " + code.message();
        return false;
    }
    return true;
}

bool CompressBesideOrInto(const std::filesystem::path& source, const std::filesystem::path& targetFolder,
                          std::filesystem::path& written, std::string& error)
{
    const auto name = Cp932FromSystemName(source.filename());
    if (!name) {
        error = DisplayPath(source) + ": the name has characters that Shift-JIS cannot hold";
        return false;
    }
    std::string why;
    const auto compressed = CompressedNameFor(*name, why);
    if (!compressed) {
        error = DisplayPath(source) + ": " + why;
        return false;
    }
    const std::filesystem::path folder = targetFolder.empty() ? source.parent_path() : targetFolder;
    written = folder / *SystemNameFromCp932(compressed->name);
    return CompressFileTo(source, written, compressed->storedChar, error);
}
