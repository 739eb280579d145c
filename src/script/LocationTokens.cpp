#include "script/LocationTokens.h"

#include "script/ScriptTokens.h"
#include "script/ShiftJis.h"
#include "script/TextCase.h"

#include <array>
#include <string_view>
#include <utility>

namespace {

// The table's folders in the order of the script's token table.
template <typename Table>
auto FoldersInTokenOrder(Table& folders)
{
    return std::array{
        &folders.app,       &folders.programFiles,    &folders.windows,        &folders.system,
        &folders.temp,      &folders.bootRoot,        &folders.setupRoot,      &folders.sourceRoot,
        &folders.startMenu, &folders.programs,        &folders.desktop,        &folders.startup,
        &folders.sendTo,    &folders.commonStartMenu, &folders.commonPrograms, &folders.commonDesktop,
        &folders.commonStartup,
    };
}
static_assert(std::tuple_size_v<decltype(FoldersInTokenOrder(std::declval<LocationTable&>()))> ==
              ScriptTokens::Locations.size());

}  // namespace

std::string ReplaceToken(const std::string& text, const std::string& token, const std::string& value)
{
    // Each search starts again at the beginning of the text. A value that
    // holds the token itself ("(App)" before the setup folder is known, or a
    // typed folder such as C:\(App)\) would be found again without end, so
    // the search then resumes after the inserted value and the occurrences
    // inside it stay as they are.
    const bool valueHoldsToken = TokenPos(token, value) != 0;
    const bool valueEndsInDelimiter = IsDelimiterAt(value, static_cast<int>(value.size()));
    std::string result = text;
    size_t searchFrom = 0;
    // Bounds pathological texts in which replacements keep recombining into
    // new occurrences across their edges.
    // The limit of expansion ends a text that grows without bound.
    for (size_t rounds = 0; rounds <= text.size() + 1 && result.size() <= ExpansionLimit; ++rounds) {
        const int found = TokenPos(token, result.substr(searchFrom));
        if (found == 0) break;
        const size_t at = searchFrom + static_cast<size_t>(found) - 1;
        const std::string left = result.substr(0, at);
        std::string right = result.substr(at + token.size());
        if (valueEndsInDelimiter && IsDelimiterAt(right, 1)) right.erase(0, 1);
        result = left + value + right;
        searchFrom = valueHoldsToken ? left.size() + value.size() : 0;
    }
    return result;
}

std::string ExpandTokens(const std::string& text, const LocationTable& folders)
{
    if (text.size() > ExpansionLimit) return text;
    const auto values = FoldersInTokenOrder(folders);
    std::string result = text;
    for (size_t n = 0; n < values.size(); ++n) {
        result = ReplaceToken(result, std::string(ScriptTokens::Locations[n]), *values[n]);
        if (result.size() > ExpansionLimit) return text;
    }
    return result;
}

bool IsLocationToken(const std::string& word)
{
    for (const std::string_view token : ScriptTokens::Locations)
        if (SameText(word, std::string(token))) return true;
    return false;
}

LocationTable TokenNamedFolders()
{
    LocationTable folders;
    const auto values = FoldersInTokenOrder(folders);
    for (size_t n = 0; n < values.size(); ++n)
        *values[n] = std::string(ScriptTokens::Locations[n]) + "\\";
    return folders;
}
