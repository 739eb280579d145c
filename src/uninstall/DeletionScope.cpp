#include "uninstall/DeletionScope.h"

#include "script/PathParts.h"
#include "script/TextCase.h"
#include "services/Win32Files.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr char NotAbsolute[] = "絶対パスではないため，削除しませんでした．";
constexpr char PatternOutside[] =
    "セットアップフォルダの外のワイルドカード指定のため，削除しませんでした．";
constexpr char ProtectedFolder[] = "システムまたはユーザーのフォルダのため，削除しませんでした．";
constexpr char NoShortcut[] = "ショートカットファイルではないため，削除しませんでした．";

bool IsFolder(const std::string& path)
{
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The extensions of the files the shell makes for a shortcut.
bool IsShortcutFile(const std::string& path)
{
    const std::string name = AsciiUpper(FileNamePart(path));
    for (const char* extension : {".LNK", ".PIF"}) {
        const size_t length = std::char_traits<char>::length(extension);
        if (name.size() > length && name.compare(name.size() - length, length, extension) == 0) return true;
    }
    return false;
}

}  // namespace

DeletionScope::DeletionScope(std::string setupFolder, std::vector<std::string> madeFolders,
                             ProtectedFolders protectedFolders)
    : setupFolder_(std::move(setupFolder)), madeFolders_(std::move(madeFolders)),
      protected_(std::move(protectedFolders))
{
}

std::string DeletionScope::RefusalOfFile(const std::string& path) const
{
    if (!IsAbsoluteFolder(path)) return NotAbsolute;
    if (HasWildcards(path)) {
        const std::string folder = FolderPart(path);
        // A pattern in the folder part names no folder this test can place.
        if (HasWildcards(folder) || !AdmitsPatternIn(folder)) return PatternOutside;
        return {};
    }
    if (IsFolder(path) && protected_.Protects(path)) return ProtectedFolder;
    return {};
}

std::string DeletionScope::RefusalOfShortcut(const std::string& path) const
{
    const std::string refusal = RefusalOfFile(path);
    if (!refusal.empty()) return refusal;
    return IsShortcutFile(path) ? std::string() : NoShortcut;
}

bool DeletionScope::InsideSetupFolder(const std::string& folder) const
{
    return IsSameOrInside(folder, setupFolder_) && !protected_.Protects(folder);
}

bool DeletionScope::AdmitsPatternIn(const std::string& folder) const
{
    if (protected_.Protects(folder)) return false;
    if (IsSameOrInside(folder, setupFolder_)) return true;
    return std::any_of(madeFolders_.begin(), madeFolders_.end(),
                       [&](const std::string& made) { return IsSameOrInside(folder, made); });
}
