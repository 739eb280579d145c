#include "uninstall/DeletionScope.h"

#include "script/PathParts.h"
#include "script/TextCase.h"
#include "services/Win32Files.h"

#include <windows.h>

#include <vector>

namespace {

constexpr char NotAbsolute[] = "絶対パスではないため，削除しませんでした．";
constexpr char PatternOutside[] =
    "セットアップフォルダの外のワイルドカード指定のため，削除しませんでした．";
constexpr char ProtectedFolder[] = "システムまたはユーザーのフォルダのため，削除しませんでした．";
constexpr char NoShortcut[] = "ショートカットファイルではないため，削除しませんでした．";
constexpr char PatternBehindLink[] =
    "リンク（ジャンクションやシンボリックリンク）の先のワイルドカード指定のため，削除しませんでした．";
constexpr char FolderIsLink[] =
    "リンク（ジャンクションやシンボリックリンク）のため，リンク先のフォルダは削除しませんでした．";

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
        return RefusalOfPatternIn(folder);
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

std::string DeletionScope::RefusalOfFolder(const std::string& folder) const
{
    return IsLink(folder) ? FolderIsLink : std::string();
}

bool DeletionScope::InsideSetupFolder(const std::string& folder) const
{
    return IsSameOrInside(folder, setupFolder_) && !protected_.Protects(folder) &&
           !ReachedThroughLink(folder, setupFolder_);
}

// A pattern goes only inside the setup folder or a folder the install made,
// reached from there without passing a link.
std::string DeletionScope::RefusalOfPatternIn(const std::string& folder) const
{
    // A pattern in the folder part names no folder this test can place.
    if (HasWildcards(folder) || protected_.Protects(folder)) return PatternOutside;
    std::vector<const std::string*> tops{&setupFolder_};
    for (const std::string& made : madeFolders_) tops.push_back(&made);
    bool inside = false;
    for (const std::string* top : tops) {
        if (!IsSameOrInside(folder, *top)) continue;
        if (!ReachedThroughLink(folder, *top)) return {};
        inside = true;
    }
    return inside ? PatternBehindLink : PatternOutside;
}
