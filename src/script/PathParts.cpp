#include "script/PathParts.h"

#include "script/ShiftJis.h"

#include <string_view>

std::string WithTrailingBackslash(const std::string& path)
{
    return IsDelimiterAt(path, static_cast<int>(path.size())) ? path : path + "\\";
}

std::string WithoutTrailingBackslash(const std::string& path)
{
    return IsDelimiterAt(path, static_cast<int>(path.size())) ? path.substr(0, path.size() - 1) : path;
}

std::string WithLeadingBackslash(const std::string& path)
{
    return IsDelimiterAt(path, 1) ? path : "\\" + path;
}

std::string WithoutLeadingBackslash(const std::string& path)
{
    return IsDelimiterAt(path, 1) ? path.substr(1) : path;
}

// 0-based index of the last separator, or npos.
static size_t LastSeparator(const std::string& path)
{
    size_t last = std::string::npos;
    for (size_t i = 0; i < path.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(byte)) {
            ++i;
        } else if (byte == '\\' || byte == ':') {
            last = i;
        }
    }
    return last;
}

std::string FolderPart(const std::string& path)
{
    const size_t at = LastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string FileNamePart(const std::string& path)
{
    const size_t at = LastSeparator(path);
    return at == std::string::npos ? path : path.substr(at + 1);
}

std::string ParentFolder(const std::string& folder)
{
    const std::string inner = WithoutTrailingBackslash(folder);
    return inner.substr(0, static_cast<size_t>(LastPos("\\", inner)));
}

std::string DrivePart(const std::string& path)
{
    if (path.size() >= 2 && path[1] == ':' && !IsLeadByte(static_cast<unsigned char>(path[0])))
        return path.substr(0, 2);
    if (path.rfind("\\\\", 0) != 0) return {};
    // The server, then the share: the drive ends before the backslash that
    // follows the share's name, or with the path.
    size_t separators = 0;
    for (size_t i = 2; i < path.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(byte)) {
            ++i;
        } else if (byte == '\\' && ++separators == 2) {
            return path.substr(0, i);
        }
    }
    return path;
}

std::string ExtensionPart(const std::string& path)
{
    const std::string name = FileNamePart(path);
    size_t dot = std::string::npos;
    for (size_t i = 0; i < name.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(name[i]);
        if (IsLeadByte(byte)) {
            ++i;
        } else if (byte == '.') {
            dot = i;
        }
    }
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string ChangeExtension(const std::string& path, const std::string& extension)
{
    return path.substr(0, path.size() - ExtensionPart(path).size()) + "." + extension;
}

static bool IsDriveLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsAbsoluteFolder(const std::string& folder)
{
    const bool drivePath = folder.size() >= 3 && IsDriveLetter(folder[0]) && folder[1] == ':' && folder[2] == '\\';
    // "\\?\" and "\\.\" are the system's device paths, which would slip past
    // every comparison with the folders as the shell names them.
    const bool sharePath = folder.size() >= 3 && folder.compare(0, 2, "\\\\") == 0 && folder[2] != '\\' &&
                           folder[2] != '?' && folder[2] != '.';
    return drivePath || sharePath;
}

std::vector<TokenShape> TokenShapesIn(const std::string& text)
{
    constexpr size_t longestWord = 8;
    const auto isWordChar = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    std::vector<TokenShape> shapes;
    for (size_t i = 0; i < text.size(); i += CharLengthAt(text, i)) {
        if (text[i] != '(') continue;
        size_t end = i + 1;
        while (end < text.size() && isWordChar(text[end])) ++end;
        const size_t length = end - i - 1;
        if (end < text.size() && text[end] == ')' && length >= 1 && length <= longestWord)
            shapes.push_back({i, text.substr(i, length + 2)});
    }
    return shapes;
}

// Control characters, the wildcards, quotes, "<", ">", "|", and a ":"
// anywhere but after the drive letter; trail bytes are never looked at.
static bool HoldsBadCharacter(const std::string& path)
{
    for (size_t i = 0; i < path.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(path[i]);
        if (IsLeadByte(byte)) {
            ++i;
            continue;
        }
        if (byte < 0x20 || std::string_view("*?\"<>|").find(static_cast<char>(byte)) != std::string_view::npos)
            return true;
        if (byte == ':' && i != 1) return true;
    }
    return false;
}

bool HasWildcards(const std::string& path)
{
    // Neither byte can be the second byte of a two-byte character.
    return path.find_first_of("*?") != std::string::npos;
}

namespace {

constexpr std::string_view UnrepresentableMark = "<?>";

}  // namespace

std::string UnrepresentableFolder(const std::string& shown)
{
    return std::string(UnrepresentableMark) + shown;
}

bool HoldsUnrepresentableFolder(const std::string& text)
{
    return text.find(UnrepresentableMark) != std::string::npos;
}

// "<" is never the second byte of a Shift-JIS character.
std::string WithoutUnrepresentableMarks(const std::string& path)
{
    std::string result = path;
    for (size_t at = result.find(UnrepresentableMark); at != std::string::npos; at = result.find(UnrepresentableMark))
        result.erase(at, UnrepresentableMark.size());
    return result;
}

PathFault FaultOfPath(const std::string& path)
{
    if (HoldsUnrepresentableFolder(path)) return PathFault::Unrepresentable;
    // Length first: a value whose tokens were too many to expand is
    // refused as what it is.
    if (path.size() > LongestPath) return PathFault::TooLong;
    if (!IsAbsoluteFolder(path)) return PathFault::NotAbsolute;
    if (!TokenShapesIn(path).empty()) return PathFault::TokenLeft;
    if (HoldsBadCharacter(path)) return PathFault::BadCharacter;
    return PathFault::None;
}
