#include "ScriptFile.h"

#include "FileData.h"
#include "SystemText.h"

std::optional<SetupScript> LoadScript(const std::filesystem::path& file, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(file, bytes, error)) return std::nullopt;
    std::string text(bytes.begin(), bytes.end());
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        error = DisplayPath(file) + " is saved as UTF-16; save it as Shift-JIS";
        return std::nullopt;
    }
    if (text.starts_with("\xEF\xBB\xBF")) {
        const auto converted = Cp932FromUtf8(text.substr(3));
        if (!converted) {
            error = DisplayPath(file) + " has a UTF-8 mark but text that Shift-JIS cannot hold";
            return std::nullopt;
        }
        text = *converted;
    }
    return ParseSetupScript(text);
}
