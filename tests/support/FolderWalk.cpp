#include "support/FolderWalk.h"

#include "services/Win32Files.h"

namespace {

void WalkLevel(const std::wstring& folder, int depth, int deepest, const FolderVisit& visit)
{
    if (depth > deepest) return;
    WIN32_FIND_DATAW data{};
    const FindHandle find(FindFirstFileW((folder + L"*").c_str(), &data));
    if (!find) return;
    do {
        const std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const std::wstring path = folder + name + (isFolder ? L"\\" : L"");
        if (visit(path, data) && isFolder) WalkLevel(path, depth + 1, deepest, visit);
    } while (FindNextFileW(find.Get(), &data));
}

}  // namespace

void WalkFolderTree(const std::wstring& folder, int deepest, const FolderVisit& visit)
{
    WIN32_FIND_DATAW self{};
    self.dwFileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    if (visit(folder, self)) WalkLevel(folder, 0, deepest, visit);
}
