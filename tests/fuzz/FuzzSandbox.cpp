#include "FuzzSandbox.h"

#include "FuzzInputs.h"
#include "services/Win32Files.h"
#include "services/Win32Registry.h"
#include "support/FolderLinks.h"
#include "support/FolderWalk.h"
#include "support/Scratch.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>

namespace {

constexpr int SandboxDepth = 4;
const wchar_t* const ScratchParent = L"Software\\OrvaneFuzzScratch";

// The redirected roots and the names of their scratch keys.
struct RedirectedRoot {
    HKEY root;
    const wchar_t* name;
};
const RedirectedRoot RedirectedRoots[] = {
    {HKEY_LOCAL_MACHINE, L"HKLM"},
    {HKEY_CURRENT_USER, L"HKCU"},
    {HKEY_CLASSES_ROOT, L"HKCR"},
    {HKEY_USERS, L"HKU"},
};

// What the system itself needs of the real registry, copied into the scratch
// keys: the shell-link class, for the shortcuts, and the shell's folders and
// the profile list, without which each query of a shell folder (the
// uninstall asks for a dozen) takes the shell a tenth of a second.
struct CopiedKey {
    HKEY root;
    const wchar_t* scratch;
    const wchar_t* path;
    bool valuesOnly = false;
};
const CopiedKey CopiedKeys[] = {
    {HKEY_CLASSES_ROOT, L"HKCR", L"CLSID\\{00021401-0000-0000-C000-000000000046}"},
    {HKEY_CURRENT_USER, L"HKCU", L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"},
    {HKEY_CURRENT_USER, L"HKCU", L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"},
    {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders"},
    {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders"},
    {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\Microsoft\\Windows\\CurrentVersion", true},
    {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList"},
};

// The values of `source` (and its subkeys, unless `valuesOnly`) into `target`.
void CopyKey(HKEY source, HKEY target, bool valuesOnly)
{
    if (!valuesOnly) {
        RegCopyTreeW(source, nullptr, target);
        return;
    }
    DWORD values = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(source, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    std::vector<wchar_t> name(longestName + 2);
    std::vector<BYTE> data(longestData + 2);
    for (DWORD n = 0; n < values; ++n) {
        DWORD nameSize = static_cast<DWORD>(name.size()), dataSize = static_cast<DWORD>(data.size()), type = 0;
        if (RegEnumValueW(source, n, name.data(), &nameSize, nullptr, &type, data.data(), &dataSize) == ERROR_SUCCESS)
            RegSetValueExW(target, name.data(), 0, type, data.data(), dataSize);
    }
}

std::string Utf8(const std::wstring& text)
{
    if (text.empty()) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                         nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::wstring Wide(const std::string& ascii)
{
    return std::wstring(ascii.begin(), ascii.end());
}

std::wstring Upper(std::wstring text)
{
    for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

// Files by size, attributes and write time; the sandbox itself left out,
// and a link to a folder an entry of its own, not walked.
void WalkFolder(const std::wstring& folder, const std::wstring& skip, MachineEntries& entries)
{
    WalkFolderTree(folder, 40, [&](const std::wstring& path, const WIN32_FIND_DATAW& data) {
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            if (Upper(path) == skip) return false;
            const bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
            entries[Utf8(path)] = link ? "link" : "folder";
            return !link;
        }
        const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        const uint64_t time = (static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                              data.ftLastWriteTime.dwLowDateTime;
        entries[Utf8(path)] = "file size " + std::to_string(size) + " attributes " +
                              std::to_string(data.dwFileAttributes) + " written " + std::to_string(time);
        return true;
    });
}

// A key as its last write time, its subkey count and its value count tell
// it: the registry moves a key's write time whenever one of its values is
// set or deleted and whenever a subkey is made or deleted, so that a walk of
// the keys alone sees every change without reading every value.
void WalkKey(HKEY key, const std::wstring& path, const std::wstring& skip, MachineEntries& entries)
{
    if (Upper(path) == skip) return;
    DWORD subkeys = 0, longestSubkey = 0, values = 0;
    FILETIME written{};
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, &longestSubkey, nullptr, &values, nullptr,
                         nullptr, nullptr, &written) != ERROR_SUCCESS) {
        entries[Utf8(path + L"\\")] = "key";
        return;
    }
    const uint64_t time = (static_cast<uint64_t>(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    entries[Utf8(path + L"\\")] = "key subkeys " + std::to_string(subkeys) + " values " + std::to_string(values) +
                                   " written " + std::to_string(time);
    std::vector<wchar_t> child(longestSubkey + 2);
    for (DWORD n = 0; n < subkeys; ++n) {
        DWORD size = static_cast<DWORD>(child.size());
        if (RegEnumKeyExW(key, n, child.data(), &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
        const std::wstring name(child.data(), size);
        RegKey sub;
        if (RegOpenKeyExW(key, name.c_str(), 0, KEY_READ, sub.Receive()) == ERROR_SUCCESS)
            WalkKey(sub.Get(), path + L"\\" + name, skip, entries);
    }
}

// What Wine changes by itself while a program runs, whatever it does.
bool IsWineChurn(const std::string& path)
{
    static const char* const prefixes[] = {
        "HKCU\\Software\\Wine\\Temporary System Parameters\\",
    };
    return std::any_of(std::begin(prefixes), std::end(prefixes),
                       [&](const char* prefix) { return path.rfind(prefix, 0) == 0; });
}

}  // namespace

Sandbox::Sandbox()
{
    root = "C:\\ORVFUZZ\\" + std::to_string(GetCurrentProcessId()) + "\\";
    deep = root;
    for (int level = 1; level <= SandboxDepth; ++level) {
        deep += 'd';
        deep += std::to_string(level);
        deep += '\\';
    }
    scratchKey_ = Utf8(ScratchParent) + "\\" + std::to_string(GetCurrentProcessId());

    // Check once that the redirection reaches the scratch keys.
    Reset();
    {
        RegKey probe;
        const DWORD one = 1;
        if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\OrvaneFuzzProbe", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            probe.Receive(), nullptr) != ERROR_SUCCESS ||
            RegSetValueExW(probe.Get(), L"Probe", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one) !=
                ERROR_SUCCESS)
            failure_ = "no key can be written below the redirected HKEY_LOCAL_MACHINE";
    }
    Redirect(false);
    if (failure_.empty() && RegKeyExists(HKEY_LOCAL_MACHINE, "Software\\OrvaneFuzzProbe"))
        failure_ = "RegOverridePredefKey does not redirect HKEY_LOCAL_MACHINE";
    Redirect(true);
}

Sandbox::~Sandbox()
{
    RemoveLinks();
    Redirect(false);
    SetCurrentDirectoryA("C:\\");
    RemoveTree(root);
    if (PathExists(root)) RemoveHostTree(root);
    RemoveDirectoryA("C:\\ORVFUZZ");
    RegDeleteTreeW(HKEY_CURRENT_USER, Wide(scratchKey_).c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, ScratchParent);
}

bool Sandbox::Ready(std::string& reason) const
{
    reason = failure_;
    return failure_.empty();
}

void Sandbox::Redirect(bool on)
{
    if (on == redirected_) return;
    for (const RedirectedRoot& redirected : RedirectedRoots) {
        if (!on) {
            RegOverridePredefKey(redirected.root, nullptr);
            continue;
        }
        RegKey scratch;
        RegCreateKeyExW(HKEY_CURRENT_USER, (Wide(scratchKey_) + L"\\" + redirected.name).c_str(), 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, scratch.Receive(), nullptr);
        RegOverridePredefKey(redirected.root, scratch.Get());
    }
    redirected_ = on;
}

bool Sandbox::Link(const std::string& link, const std::string& target)
{
    if (!MakeFolderLink(link, target)) return false;
    links_.emplace_back(link, target);
    return true;
}

// The links go first, by themselves: the removal of the sandbox's tree
// leaves a link where it is, with what it leads to.
void Sandbox::RemoveLinks()
{
    for (auto link = links_.rbegin(); link != links_.rend(); ++link) RemoveFolderLink(link->first);
    links_.clear();
}

void Sandbox::Reset()
{
    RemoveLinks();
    Redirect(false);
    SetCurrentDirectoryA("C:\\");
    RemoveTree(root);
    // A link whose target went (a fault to be found) is none to the system
    // and stays: the host removes what is left.
    if (PathExists(root)) RemoveHostTree(root);
    CreateDirectoryA("C:\\ORVFUZZ", nullptr);
    std::string folder = root;
    CreateDirectoryA(folder.c_str(), nullptr);
    for (size_t at = root.size(); at < deep.size(); at = deep.find('\\', at) + 1)
        CreateDirectoryA(deep.substr(0, deep.find('\\', at)).c_str(), nullptr);
    for (const char* name : {"dist", "work", "temp", "win", "sys", "prg", "boot", "setuproot", "app", "made", "shell",
                             "shell\\Start Menu", "shell\\Start Menu\\Programs", "shell\\Start Menu\\Programs\\Startup",
                             "shell\\Desktop", "shell\\SendTo"})
        CreateDirectoryA(Folder(name).c_str(), nullptr);

    const std::wstring scratch = Wide(scratchKey_);
    RegDeleteTreeW(HKEY_CURRENT_USER, scratch.c_str());
    for (const CopiedKey& copied : CopiedKeys) {
        RegKey source, target;
        if (RegOpenKeyExW(copied.root, copied.path, 0, KEY_READ, source.Receive()) == ERROR_SUCCESS &&
            RegCreateKeyExW(HKEY_CURRENT_USER, (scratch + L"\\" + copied.scratch + L"\\" + copied.path).c_str(), 0,
                            nullptr, 0, KEY_ALL_ACCESS, nullptr, target.Receive(), nullptr) == ERROR_SUCCESS)
            CopyKey(source.Get(), target.Get(), copied.valuesOnly);
    }
    Redirect(true);
    SetCurrentDirectoryA(Folder("temp").c_str());
}

MachineEntries SnapshotOutside()
{
    MachineEntries entries;
    WalkFolder(L"C:\\", L"C:\\ORVFUZZ\\", entries);
    const std::wstring scratch = Upper(L"HKCU\\" + std::wstring(ScratchParent));
    const struct {
        HKEY root;
        const wchar_t* path;
        const wchar_t* name;
    } hives[] = {
        {HKEY_LOCAL_MACHINE, L"Software", L"HKLM\\Software"},
        {HKEY_CURRENT_USER, L"Software", L"HKCU\\Software"},
        {HKEY_USERS, L".DEFAULT\\Software", L"HKU\\.DEFAULT\\Software"},
    };
    for (const auto& hive : hives) {
        RegKey key;
        if (RegOpenKeyExW(hive.root, hive.path, 0, KEY_READ, key.Receive()) == ERROR_SUCCESS)
            WalkKey(key.Get(), hive.name, scratch, entries);
    }
    return entries;
}

std::vector<std::string> Differences(const MachineEntries& before, const MachineEntries& after)
{
    std::vector<std::string> lines;
    for (const auto& [path, description] : before) {
        if (IsWineChurn(path)) continue;
        const auto found = after.find(path);
        if (found == after.end())
            lines.push_back("removed " + path);
        else if (found->second != description)
            lines.push_back("changed " + path + " (" + description + " -> " + found->second + ")");
    }
    for (const auto& [path, description] : after)
        if (!IsWineChurn(path) && before.count(path) == 0) lines.push_back("added " + path + " (" + description + ")");
    return lines;
}

void PlaceVictims()
{
    const std::string folder = VictimFolder;
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "SUB").c_str(), nullptr);
    CreateDirectoryA(VictimEmptyFolder, nullptr);
    // Written again whether they changed or went: an input that named one
    // may have done either by design.
    for (const char* name : {"VICTIM.TXT", "VICTIM.INI", "VICTIM.LNK", "SUB\\X.TXT"})
        if (ReadTextFile(folder + name) != "[Victim]\r\nKeep=1\r\n") WriteTextFile(folder + name, "[Victim]\r\nKeep=1\r\n");
}

void RemoveVictims()
{
    RemoveTree(VictimFolder);
}
