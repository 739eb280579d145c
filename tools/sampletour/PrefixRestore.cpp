#include "PrefixRestore.h"

#include "script/PathParts.h"
#include "script/TextCase.h"
#include "support/Scratch.h"

#include <windows.h>

#include <algorithm>

namespace {

bool IsRegistryPath(const std::string& path)
{
    return path.compare(0, 5, "HKLM\\") == 0 || path.compare(0, 5, "HKCU\\") == 0;
}

HKEY RootOf(const std::string& path)
{
    return path.compare(0, 4, "HKLM") == 0 ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

void RemoveAdded(const std::string& path)
{
    if (IsRegistryPath(path)) {
        const int bar = TokenPos("\\|", path);
        if (bar != 0) {
            const std::string key = path.substr(5, static_cast<size_t>(bar) - 5);
            RegDeleteKeyValueA(RootOf(path), key.c_str(), path.substr(static_cast<size_t>(bar) + 1).c_str());
            return;
        }
        const std::string key = WithoutTrailingBackslash(path.substr(5));
        RegDeleteKeyA(RootOf(path), key.c_str());
        return;
    }
    if (!path.empty() && path.back() == '\\') {
        RemoveDirectoryA(path.c_str());
        return;
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
}

}  // namespace

bool SavedFiles::CaseBlind::operator()(const std::string& a, const std::string& b) const
{
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
}

void SavedFiles::Keep(const std::string& path)
{
    if (PathExists(path)) bytes_[path] = ReadTextFile(path);
}

bool SavedFiles::PutBack(const std::string& path) const
{
    const auto kept = bytes_.find(path);
    if (kept == bytes_.end()) return false;
    WriteTextFile(path, kept->second);
    return ReadTextFile(path) == kept->second;
}

void UndoDifferences(const std::vector<Difference>& differences, const SavedFiles& saved)
{
    // In reverse path order a value comes before its key, and what lies in
    // a key or folder before the key or folder itself.
    std::vector<Difference> ordered = differences;
    std::sort(ordered.begin(), ordered.end(), [](const Difference& a, const Difference& b) { return a.path > b.path; });
    for (const Difference& difference : ordered) {
        if (difference.kind == Difference::Added)
            RemoveAdded(difference.path);
        else
            saved.PutBack(difference.path);
    }
}
