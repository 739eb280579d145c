#include "InstalledListing.h"

#include "script/PathParts.h"
#include "script/TextCase.h"
#include "services/Win32Com.h"
#include "services/Win32Files.h"
#include "support/ScratchRegistry.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <map>

namespace {

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

std::string ChangeMark(const Difference& difference)
{
    return difference.kind == Difference::Changed ? " (changed)" : "";
}

std::string FileLine(const Difference& difference)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(difference.path.c_str(), GetFileExInfoStandard, &data))
        return difference.path + ChangeMark(difference);
    const unsigned long long size = (static_cast<unsigned long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return difference.path + "  (" + std::to_string(size) + " bytes)" + ChangeMark(difference);
}

std::wstring Wide(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    return wide;
}

// Where a shortcut leads: its target, arguments and working folder.
std::string ShortcutTarget(const std::string& path)
{
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(link.Receive()))))
        return "(no shell-link object)";
    ComPtr<IPersistFile> file;
    if (FAILED(link.Get()->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive()))) ||
        FAILED(file.Get()->Load(Wide(path).c_str(), STGM_READ)))
        return "(unreadable)";
    char target[MAX_PATH] = {};
    char arguments[MAX_PATH] = {};
    char folder[MAX_PATH] = {};
    link.Get()->GetPath(target, MAX_PATH, nullptr, 0);
    link.Get()->GetArguments(arguments, MAX_PATH);
    link.Get()->GetWorkingDirectory(folder, MAX_PATH);
    std::string text = std::string(target);
    if (arguments[0] != '\0') text.append(" ").append(arguments);
    if (folder[0] != '\0') text.append("  (working folder ").append(folder).append(")");
    return text;
}

HKEY RootNamed(const std::string& name)
{
    return name == "HKLM" ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// A string value's text in quotes, up to its terminating zero.
std::string Quoted(const std::string& bytes, const char* type)
{
    std::string text(1, '"');
    text.append(bytes, 0, bytes.find('\0')).append("\" (").append(type).append(")");
    return text;
}

std::string ValueData(const StoredValue& value)
{
    const std::string& bytes = value.bytes;
    switch (value.type) {
    case REG_SZ: return Quoted(bytes, "REG_SZ");
    case REG_EXPAND_SZ: return Quoted(bytes, "REG_EXPAND_SZ");
    case REG_DWORD:
        if (bytes.size() == 4) {
            unsigned long number = 0;
            for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(bytes[i]);
            return std::to_string(number) + " (REG_DWORD)";
        }
        break;
    default: break;
    }
    std::string hex;
    for (unsigned char byte : bytes) {
        char digits[4] = {};
        std::snprintf(digits, sizeof digits, "%02X ", byte);
        hex += digits;
    }
    if (value.type == REG_BINARY) return hex + "(REG_BINARY)";
    return hex.append("(type ").append(std::to_string(value.type)).append(")");
}

// "HKLM\KEY\PATH\|Name" as the key line's value: "Name = data".
std::string ValueLine(const Difference& difference)
{
    const int bar = TokenPos("\\|", difference.path);
    const std::string key = difference.path.substr(5, static_cast<size_t>(bar) - 5);
    const std::string name = difference.path.substr(static_cast<size_t>(bar) + 1);
    const auto value = ReadStoredValue(RootNamed(difference.path.substr(0, 4)), key, name);
    const std::string shown = name.empty() ? "(default)" : name;
    if (!value) return shown + " = (gone)";
    return shown + " = " + ValueData(*value) + ChangeMark(difference);
}

std::string KeyOfValue(const std::string& path)
{
    return path.substr(0, static_cast<size_t>(TokenPos("\\|", path)));
}

// Registry paths in an order that puts a key's values right under it,
// before its subkeys; everything else in path order.
std::string SortKey(const std::string& path, const std::string& description)
{
    if (!StartsWith(description, "value")) return path;
    return KeyOfValue(path) + '\x01' + path.substr(KeyOfValue(path).size() + 1);
}

// The identity of a file (volume and file number): Wine shows one folder of
// the host under several names (Desktop, Documents, Music... all lead to
// the same home folder), and a file in it under each of them.
std::string FileIdentity(const std::string& path)
{
    FileHandle file(CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!file || !GetFileInformationByHandle(file.Get(), &information)) return path;
    return std::to_string(information.dwVolumeSerialNumber) + ":" + std::to_string(information.nFileIndexHigh) + ":" +
           std::to_string(information.nFileIndexLow);
}

std::string ParentName(const std::string& path)
{
    const std::string folder = WithoutTrailingBackslash(FolderPart(path));
    return FileNamePart(folder);
}

struct Entry {
    Difference difference;
    std::string description;
    std::vector<std::string> aliases;  // the other names of the same file
};

// The entries to list, one per file however many names it has, under the
// name in `preferred` when one of its names is there, in listing order.
std::vector<Entry> EntriesToList(const std::vector<Difference>& differences, const MachineState& after,
                                 const std::vector<std::string>& preferred)
{
    std::vector<Entry> entries;
    std::map<std::string, size_t> byIdentity;
    for (const Difference& difference : differences) {
        Entry entry{difference, after.count(difference.path) ? after.at(difference.path) : "", {}};
        if (!StartsWith(entry.description, "file")) {
            entries.push_back(entry);
            continue;
        }
        const auto [known, added] = byIdentity.emplace(FileIdentity(difference.path), entries.size());
        if (added) {
            entries.push_back(entry);
            continue;
        }
        Entry& first = entries[known->second];
        const bool preferThis = std::find(preferred.begin(), preferred.end(), difference.path) != preferred.end();
        if (preferThis) std::swap(first.difference, entry.difference);
        first.aliases.push_back(entry.difference.path);
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return SortKey(a.difference.path, a.description) < SortKey(b.difference.path, b.description);
    });
    return entries;
}

std::string AliasLine(const std::vector<std::string>& aliases)
{
    std::string folders;
    for (const std::string& alias : aliases) folders += (folders.empty() ? "" : ", ") + ParentName(alias);
    return "      (the same file also shows in " + folders + ": Wine links those folders to one)";
}

}  // namespace

std::vector<std::string> ListInstalled(const MachineState& before, const MachineState& after,
                                       const std::vector<std::string>& preferredNames)
{
    std::vector<std::string> files, links, registry, removed;
    std::string lastKey;
    const std::vector<Difference> differences = Unexplained(Compare(before, after), WineSessionChurn);
    for (const Entry& entry : EntriesToList(differences, after, preferredNames)) {
        const Difference& difference = entry.difference;
        const std::string& path = difference.path;
        if (difference.kind == Difference::Removed) {
            removed.push_back("  " + path);
        } else if (StartsWith(entry.description, "key")) {
            registry.push_back("  " + path);
            lastKey = path;
        } else if (StartsWith(entry.description, "value")) {
            if (KeyOfValue(path) != lastKey) {
                lastKey = KeyOfValue(path);
                registry.push_back("  " + lastKey);
            }
            registry.push_back("      " + ValueLine(difference));
        } else if (entry.description == "folder") {
            files.push_back("  " + path + ChangeMark(difference));
        } else {
            const bool shortcut = path.size() > 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".lnk") == 0;
            std::vector<std::string>& list = shortcut ? links : files;
            list.push_back("  " + (shortcut ? path : FileLine(difference)));
            if (shortcut) list.push_back("      -> " + ShortcutTarget(path));
            if (!entry.aliases.empty()) list.push_back(AliasLine(entry.aliases));
        }
    }
    std::vector<std::string> lines;
    const auto section = [&](const std::string& heading, const std::vector<std::string>& entries) {
        if (entries.empty()) return;
        lines.push_back(heading);
        lines.insert(lines.end(), entries.begin(), entries.end());
    };
    section("Files and folders:", files);
    section("Shortcuts:", links);
    section("Registry keys and values (HKEY_CLASSES_ROOT is HKLM\\Software\\Classes):", registry);
    section("Removed:", removed);
    return lines;
}
