#include "PackagedScript.h"

#include "CopyPrediction.h"
#include "script/ScriptTokens.h"

#include <algorithm>

namespace {

const std::string kDiskChange(ScriptTokens::DiskChange);

// The 0-based offset where the 1-based `line` starts; lines end in "\n",
// as the profile reader counts them.
std::optional<size_t> LineStart(const std::string& text, int line)
{
    size_t at = 0;
    for (int n = 1; n < line; ++n) {
        at = text.find('\n', at);
        if (at == std::string::npos) return std::nullopt;
        ++at;
    }
    return at;
}

// Where the mark of an entry line starts: after the "=" (the key is
// "FileN", plain ASCII, so the first "=" byte is the separator), the blanks
// the reader trims and one opening quote that it removes.
std::optional<size_t> MarkIn(const std::string& text, size_t lineStart)
{
    const size_t lineEnd = std::min(text.find('\n', lineStart), text.size());
    const size_t equals = text.find('=', lineStart);
    if (equals == std::string::npos || equals >= lineEnd) return std::nullopt;
    size_t at = equals + 1;
    while (at < lineEnd && (text[at] == ' ' || text[at] == '\t' || text[at] == '\x1A')) ++at;
    if (at < lineEnd && (text[at] == '"' || text[at] == '\'')) ++at;
    if (text.compare(at, kDiskChange.size(), kDiskChange) != 0) return std::nullopt;
    return at;
}

}  // namespace

std::optional<std::string> WithoutDiskChanges(const std::string& text, const SetupScript& script, std::string& error)
{
    std::string result = text;
    // From the last entry back, so that the lines before keep their offsets.
    const auto copies = PredictCopies(script);
    for (auto copy = copies.rbegin(); copy != copies.rend(); ++copy) {
        if (!copy->entry.diskChange) continue;
        const std::string key = "File" + std::to_string(copy->number);
        const ProfileKey* found = script.profile.Find("CopyFile", key);
        const auto start = found ? LineStart(result, found->line) : std::nullopt;
        const auto mark = start ? MarkIn(result, *start) : std::nullopt;
        if (!mark) {
            error = "[CopyFile] " + key + ": the " + kDiskChange + " mark was not found in its line";
            return std::nullopt;
        }
        result.erase(*mark, kDiskChange.size());
    }
    return result;
}
