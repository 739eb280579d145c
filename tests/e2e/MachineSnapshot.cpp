#include "MachineSnapshot.h"

#include "driver/Driver.h"
#include "services/Win32Files.h"
#include "services/Win32Registry.h"
#include "support/FolderWalk.h"
#include "text/Unicode.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Files up to this size are told apart by their contents; larger ones (the
// system's own libraries, which nothing here writes) by size and time.
constexpr uint64_t HashedSizeLimit = 4u << 20;
constexpr int DeepestFolder = 40;

// The whole machine is read through the wide functions and its names kept
// as Shift-JIS converted with code page 932 itself, so that a snapshot names
// the same entries whatever the system's code page is.
std::string ContentHash(const std::wstring& path)
{
    uint64_t hash = 14695981039346656037ull;  // FNV-1a
    const FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return "not readable";
    static char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        for (DWORD i = 0; i < read; ++i) {
            hash ^= static_cast<unsigned char>(buffer[i]);
            hash *= 1099511628211ull;
        }
    }
    return std::to_string(hash);
}

std::string FileDescription(const std::wstring& path, const WIN32_FIND_DATAW& data)
{
    const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    std::string text = "file size " + std::to_string(size) + " attributes " + std::to_string(data.dwFileAttributes);
    if (size <= HashedSizeLimit) return text + " contents " + ContentHash(path);
    const uint64_t time = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                          data.ftLastWriteTime.dwLowDateTime;
    return text + " written " + std::to_string(time);
}

void WalkFolder(const std::wstring& folder, MachineState& state)
{
    WalkFolderTree(folder, DeepestFolder, [&](const std::wstring& path, const WIN32_FIND_DATAW& data) {
        const bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        state[ShiftJisFromWideForDisplay(path)] = isFolder ? "folder" : FileDescription(path, data);
        return true;
    });
}

std::string ValueDescription(DWORD type, const std::vector<BYTE>& data, DWORD size)
{
    std::string text = "value type " + std::to_string(type) + " data ";
    static const char digits[] = "0123456789abcdef";
    for (DWORD i = 0; i < size; ++i) {
        text += digits[data[i] >> 4];
        text += digits[data[i] & 15];
    }
    return text;
}

void WalkKey(HKEY key, const std::string& path, MachineState& state)
{
    state[path] = "key";
    DWORD subkeys = 0, longestSubkey = 0, values = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    std::vector<wchar_t> name(std::max(longestName, longestSubkey) + 2);
    std::vector<BYTE> data(longestData + 2);
    for (DWORD i = 0; i < values; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        DWORD dataSize = static_cast<DWORD>(data.size());
        DWORD type = 0;
        // The data as stored: texts in UTF-16, as no code page changes them.
        if (RegEnumValueW(key, i, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) != ERROR_SUCCESS)
            continue;
        state[path + "|" + ShiftJisFromWideForDisplay(std::wstring(name.data(), nameSize))] =
            ValueDescription(type, data, dataSize);
    }
    for (DWORD i = 0; i < subkeys; ++i) {
        DWORD nameSize = static_cast<DWORD>(name.size());
        if (RegEnumKeyExW(key, i, name.data(), &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        const std::wstring wideName(name.data(), nameSize);
        const std::string subkeyName = ShiftJisFromWideForDisplay(wideName);
        RegKey subkey;
        if (RegOpenKeyExW(key, wideName.c_str(), 0, KEY_READ, subkey.Receive()) != ERROR_SUCCESS) subkey.Detach();
        if (!subkey) {
            state[path + subkeyName + "\\"] = "key (not readable)";
            continue;
        }
        WalkKey(subkey.Get(), path + subkeyName + "\\", state);
    }
}

HKEY RootOf(const std::string& name)
{
    if (name == "HKLM") return HKEY_LOCAL_MACHINE;
    if (name == "HKCU") return HKEY_CURRENT_USER;
    return nullptr;
}

std::string Upper(const std::string& text)
{
    // Upper-cased in UTF-16: the ANSI function would change trail bytes of
    // Shift-JIS characters on a system of another code page.
    std::wstring upper = WideFromShiftJis(text);
    if (!upper.empty()) CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    return ShiftJisFromWideForDisplay(upper);
}

// "*" any text, "?" one byte; both already upper-cased.
bool Matches(const char* pattern, const char* text)
{
    for (; *pattern != '\0'; ++pattern, ++text) {
        if (*pattern == '*') {
            for (const char* rest = text;; ++rest) {
                if (Matches(pattern + 1, rest)) return true;
                if (*rest == '\0') return false;
            }
        }
        if (*text == '\0' || (*pattern != '?' && *pattern != *text)) return false;
    }
    return *text == '\0';
}

}  // namespace

MachineState TakeSnapshot(const std::vector<std::string>& folders, const std::vector<std::string>& registryRoots)
{
    MachineState state;
    for (const std::string& folder : folders) WalkFolder(WideFromShiftJis(folder), state);
    for (const std::string& root : registryRoots) {
        if (HKEY key = RootOf(root)) WalkKey(key, root + "\\", state);
    }
    return state;
}

MachineState SnapshotOfMachine()
{
    return TakeSnapshot({"C:\\"}, {"HKLM", "HKCU"});
}

const std::vector<AllowedDifference> WineSessionChurn = {
    {"HKCU\\Software\\Wine\\Temporary System Parameters\\*",
     "a volatile key in which Wine keeps the session's display parameters; the first window of a fresh Wine "
     "session fills it"},
};

std::vector<Difference> Compare(const MachineState& before, const MachineState& after)
{
    std::vector<Difference> differences;
    for (const auto& [path, description] : before) {
        const auto found = after.find(path);
        if (found == after.end())
            differences.push_back({Difference::Removed, path});
        else if (found->second != description)
            differences.push_back({Difference::Changed, path});
    }
    for (const auto& [path, description] : after) {
        if (before.count(path) == 0) differences.push_back({Difference::Added, path});
    }
    return differences;
}

bool PathMatches(const std::string& pattern, const std::string& path)
{
    return Matches(Upper(pattern).c_str(), Upper(path).c_str());
}

std::vector<Difference> Unexplained(const std::vector<Difference>& differences,
                                    const std::vector<AllowedDifference>& allowed)
{
    std::vector<Difference> left;
    for (const Difference& difference : differences) {
        bool explained = false;
        for (const AllowedDifference& entry : allowed)
            explained = explained || PathMatches(entry.pattern, difference.path);
        if (!explained) left.push_back(difference);
    }
    return left;
}

std::string Describe(const std::vector<Difference>& differences)
{
    static const char* const kinds[] = {"added  ", "removed", "changed"};
    std::string text;
    for (const Difference& difference : differences)
        text += std::string(kinds[difference.kind]) + " " + Utf8(difference.path) + "\n";
    return text;
}
