#include "uninstall/DeletionScope.h"

#include "script/PathParts.h"
#include "script/TextCase.h"
#include "services/Win32Files.h"

#include <windows.h>

#include <vector>

namespace {

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

std::optional<FailureReason> DeletionScope::RefusalOfFile(const std::string& path) const
{
    if (!IsAbsoluteFolder(path)) return FailureReason::NotAbsolute;
    if (HasWildcards(path)) {
        const std::string folder = FolderPart(path);
        return RefusalOfPatternIn(folder);
    }
    if (IsFolder(path) && protected_.Protects(path)) return FailureReason::FolderOfSystemOrUser;
    return std::nullopt;
}

std::optional<FailureReason> DeletionScope::RefusalOfShortcut(const std::string& path) const
{
    if (const std::optional<FailureReason> refusal = RefusalOfFile(path)) return refusal;
    if (IsShortcutFile(path)) return std::nullopt;
    return FailureReason::NotAShortcut;
}

std::optional<FailureReason> DeletionScope::RefusalOfFolder(const std::string& folder) const
{
    if (IsLink(folder)) return FailureReason::FolderIsLink;
    return std::nullopt;
}

bool DeletionScope::InsideSetupFolder(const std::string& folder) const
{
    return IsSameOrInside(folder, setupFolder_) && !protected_.Protects(folder) &&
           !ReachedThroughLink(folder, setupFolder_);
}

// A pattern goes only inside the setup folder or a folder the install made,
// reached from there without passing a link.
std::optional<FailureReason> DeletionScope::RefusalOfPatternIn(const std::string& folder) const
{
    // A pattern in the folder part names no folder this test can place.
    if (HasWildcards(folder) || protected_.Protects(folder)) return FailureReason::PatternOutsideSetupFolder;
    std::vector<const std::string*> tops{&setupFolder_};
    for (const std::string& made : madeFolders_) tops.push_back(&made);
    bool inside = false;
    for (const std::string* top : tops) {
        if (!IsSameOrInside(folder, *top)) continue;
        if (!ReachedThroughLink(folder, *top)) return std::nullopt;
        inside = true;
    }
    return inside ? FailureReason::PatternBehindLink : FailureReason::PatternOutsideSetupFolder;
}
