#include "services/LocationTokens.h"

#include "services/Win32Com.h"
#include "text/MBUtils.h"
#include "text/PathParts.h"
#include "text/ScriptTokens.h"
#include "text/StrOp.h"
#include "text/Unicode.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <utility>

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
    // In the order of the script's token table.
    const std::string* const values[] = {
        &folders.app,       &folders.programFiles,    &folders.windows,        &folders.system,
        &folders.temp,      &folders.bootRoot,        &folders.setupRoot,      &folders.sourceRoot,
        &folders.startMenu, &folders.programs,        &folders.desktop,        &folders.startup,
        &folders.sendTo,    &folders.commonStartMenu, &folders.commonPrograms, &folders.commonDesktop,
        &folders.commonStartup,
    };
    static_assert(std::size(values) == ScriptTokens::Locations.size());
    if (text.size() > ExpansionLimit) return text;
    std::string result = text;
    for (size_t n = 0; n < std::size(values); ++n) {
        result = ReplaceToken(result, std::string(ScriptTokens::Locations[n]), *values[n]);
        if (result.size() > ExpansionLimit) return text;
    }
    return result;
}

std::string ShellFolderText(const std::wstring& path)
{
    if (std::optional<std::string> narrow = ShiftJisFromWide(path)) return std::move(*narrow);
    return UnrepresentableFolder(ShiftJisFromWideForDisplay(path));
}

std::string GetSpecialFolder(int csidl)
{
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(GetDesktopWindow(), csidl, &items)) || items == nullptr) return {};
    const TaskMem itemList(items);
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(items, path)) return {};
    return ShellFolderText(path);
}
