#include "SampleDistribution.h"

#include "services/Win32Files.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "support/ScratchRegistry.h"
#include "text/Unicode.h"
#include "windows/ControlIds.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

// The machine is read and changed through the wide functions, with names
// converted by code page 932 itself, so that the sample's Japanese names
// mean the same on a system of any code page.

namespace {

std::string WithSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

// Program Files as the install expands "(Prg)": the machine's own setting,
// not the shell's idea of it.
std::string ProgramFilesFolder()
{
    const std::string value = StringValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                          "ProgramFilesDir");
    return value == "<none>" ? std::string() : WithSlash(value);
}

}  // namespace

std::string SampleDisk(int n)
{
    return ProgramFolder() + "..\\sample\\dist\\DISK" + std::to_string(n) + "\\";
}

std::vector<std::string> CopyDisk(const std::string& from, const std::string& to,
                                  const std::vector<std::string>& except)
{
    std::vector<std::string> failed;
    WIN32_FIND_DATAW found;
    const FindHandle search(FindFirstFileW(WideFromShiftJis(from + "*").c_str(), &found));
    if (!search) return {from};
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        const std::string name = ShiftJisFromWideForDisplay(found.cFileName);
        if (std::find(except.begin(), except.end(), name) != except.end()) continue;
        if (!CopyFixture(from + name, to + name)) failed.push_back(name);
    } while (FindNextFileW(search.Get(), &found));
    return failed;
}

bool ReplaceScriptLine(const std::string& script, const std::string& line, const std::string& replacement)
{
    std::string text = "\r\n" + ReadTextFile(script);
    const size_t found = text.find("\r\n" + line + "\r\n");
    if (found == std::string::npos) return false;
    text.replace(found + 2, line.size(), replacement);
    WriteTextFile(script, text.substr(2));
    return ReadTextFile(script) == text.substr(2);
}

std::string WindowsFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetWindowsDirectoryW(path, MAX_PATH);
    return WithSlash(ShiftJisFromWideForDisplay(path));
}

std::string SystemFolder()
{
    wchar_t path[MAX_PATH] = {};
    GetSystemDirectoryW(path, MAX_PATH);
    return WithSlash(ShiftJisFromWideForDisplay(path));
}

std::string ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return WithSlash(ShiftJisFromWideForDisplay(path));
}

std::string StringValue(HKEY root, const std::string& key, const std::string& name)
{
    // Read as UTF-16, as stored: the ANSI function would hand over the
    // system code page's bytes, no Shift-JIS on a Western system.
    const std::wstring wideKey = WideFromShiftJis(key);
    const std::wstring wideName = WideFromShiftJis(name);
    DWORD type = 0;
    DWORD size = 0;
    if (RegGetValueW(root, wideKey.c_str(), wideName.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                     &type, nullptr, &size) != ERROR_SUCCESS)
        return "<none>";
    std::vector<wchar_t> text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(root, wideKey.c_str(), wideName.c_str(), RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                     &type, text.data(), &size) != ERROR_SUCCESS)
        return "<none>";
    return ShiftJisFromWideForDisplay(text.data());
}

HWND WaitForMainScreen(DWORD id, const std::string& eventCaption, DWORD timeout)
{
    HWND main = nullptr;
    const bool settled = WaitUntil(
        [&] {
            main = FindWindowOf(id, "TfrmMain");
            return main != nullptr && TextOf(ControlOf(main, MainIds::actionButton)) == eventCaption;
        },
        timeout);
    return settled ? main : nullptr;
}

HWND WaitForAnyBox(DWORD id, DWORD timeout)
{
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowOf(id, "#32770")) != nullptr; }, timeout);
    return box;
}

bool AnswerAndWait(HWND box, int button)
{
    Answer(box, button);
    return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); });
}

std::string VisibleWindows(DWORD id)
{
    struct Visit {
        DWORD id;
        std::string text;
    } visit{id, {}};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& visit = *reinterpret_cast<Visit*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != visit.id || !IsWindowVisible(window)) return TRUE;
            wchar_t wideName[64] = {};
            GetClassNameW(window, wideName, 64);
            const std::string name = ShiftJisFromWideForDisplay(wideName);
            visit.text += "[" + name + "] " + Utf8(TextOf(window));
            if (name == "#32770") visit.text += ": " + Utf8(MessageBoxText(window));
            visit.text += "\n";
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&visit));
    return visit.text;
}

SampleInstallation::SampleInstallation()
    : app(ProgramFilesFolder() + "Orvane Sample\\"), group(ShellFolder(CSIDL_PROGRAMS) + "Orvane Sample\\")
{
    links = {
        ShellFolder(CSIDL_DESKTOPDIRECTORY) + "サンプルビューア.lnk",
        group + "サンプルビューア.lnk",
        group + "説明書.lnk",
        ShellFolder(CSIDL_STARTUP) + "サンプルビューア.lnk",
        ShellFolder(CSIDL_SENDTO) + "サンプルビューア.lnk",
    };
}

bool SampleInstallation::Installed() const
{
    return PathExists(app) || KeyExists(HKEY_LOCAL_MACHINE, entryKey);
}

std::vector<std::string> SampleInstallation::AlreadyPresent() const
{
    std::vector<std::string> present;
    std::vector<std::string> paths = links;
    paths.insert(paths.end(), {component, iniFile, group});
    for (const std::string& path : paths)
        if (PathExists(path)) present.push_back(path);
    const struct {
        HKEY root;
        const char* name;
        std::string key;
    } keys[] = {{HKEY_CURRENT_USER, "HKCU", viewerKey}, {HKEY_CURRENT_USER, "HKCU", controlKey},
                {HKEY_LOCAL_MACHINE, "HKLM", viewerKey}, {HKEY_CLASSES_ROOT, "HKCR", ".osv"},
                {HKEY_CLASSES_ROOT, "HKCR", "osv_auto_file"}};
    for (const auto& key : keys) {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(key.root, WideFromShiftJis(key.key).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) continue;
        RegCloseKey(opened);
        present.push_back(std::string(key.name) + "\\" + key.key);
    }
    return present;
}

ExpectedBox SampleInstallation::FolderQuestion() const
{
    return {"フォルダ作成", app + "\r\rこのフォルダは存在しません．作成してもよろしいですか？"};
}

ExpectedBox SampleInstallation::DiskChange() const
{
    return {"ディスク交換", "2枚目のディスクに交換してください．"};
}

ExpectedBox SampleInstallation::AssociationQuestion() const
{
    return {"関連付けの確認", "拡張子 *.osv を\r" + app + "SAMPLEVW.EXE\rに関連付けします．よろしいですか？"};
}

ExpectedBox SampleInstallation::FailureQuestion() const
{
    return {"警告", "フォルダの作成・ファイルのコピーで，一部の処理が失敗しました．\r詳細を表示しますか？"};
}

ExpectedBox SampleInstallation::RestartWarning() const
{
    return {"警告", "Windowsを再起動すると，セットアップは完了します．"};
}

void SampleInstallation::RemoveTraces() const
{
    RemoveTree(app);
    RemoveTree(group);
    const auto deleteFile = [](const std::string& path) { DeleteFileW(WideFromShiftJis(path).c_str()); };
    const auto deleteTree = [](HKEY root, const std::string& key) {
        RegDeleteTreeW(root, WideFromShiftJis(key).c_str());
    };
    deleteFile(component);
    deleteFile(iniFile);
    for (const std::string& link : links) deleteFile(link);
    deleteTree(HKEY_CURRENT_USER, viewerKey);
    deleteTree(HKEY_CURRENT_USER, controlKey);
    deleteTree(HKEY_LOCAL_MACHINE, viewerKey);
    deleteTree(HKEY_LOCAL_MACHINE, entryKey);
    deleteTree(HKEY_CLASSES_ROOT, ".osv");
    deleteTree(HKEY_CLASSES_ROOT, "osv_auto_file");
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, WideFromShiftJis(sharedDlls).c_str(), WideFromShiftJis(component).c_str());
    // A fresh prefix has no list of shared counts: the install made it for
    // the component's count, and it goes again once it counts nothing.
    HKEY counts = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, WideFromShiftJis(sharedDlls).c_str(), 0, KEY_READ, &counts) == ERROR_SUCCESS) {
        DWORD subkeys = 1, values = 1;
        RegQueryInfoKeyW(counts, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                         nullptr, nullptr);
        RegCloseKey(counts);
        if (subkeys == 0 && values == 0) RegDeleteKeyW(HKEY_LOCAL_MACHINE, WideFromShiftJis(sharedDlls).c_str());
    }
    const std::wstring list = WideFromShiftJis(setupFolderList);
    WritePrivateProfileStringW(L"ORVSAMPLE", nullptr, nullptr, list.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, list.c_str());
    // What an uninstall keeps on purpose, gone too when nothing else uses
    // it: a snapshot then sees the sample's whole trace.
    deleteFile(uninstaller);
    if (PathExists(setupFolderList) && ReadTextFile(setupFolderList).empty()) deleteFile(setupFolderList);
    RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Orvane");
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Orvane");
}

std::vector<AllowedDifference> SampleInstallation::KeptOnPurpose() const
{
    return {
        {uninstaller, "UNOVSET.EXE: the uninstaller, shared by every program installed, never removed"},
        // [DeleteRegistry] lists both keys of [Registry]: all its values go,
        // but not the keys made on the way to them.
        {"HKCU\\Software\\Orvane\\", "made on the way to the [Registry] keys, which the record lists, not it"},
        {"HKLM\\Software\\Orvane\\", "made on the way to the [Registry] keys, which the record lists, not it"},
        // Nothing of [IniFile] is recorded; this sample's two files go all
        // the same, one as a *.INI file of the setup folder (or with
        // delete-all), the other as an extra file of the script.
        {app + "DATA\\SETTINGS.INI", "an [IniFile] entry, not recorded for the uninstall"},
        {iniFile, "an [IniFile] entry, not recorded for the uninstall"},
        {setupFolderList, "the per-machine list of setup folders stays, without this program's section"},
        {"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\",
         "the system's list of shared-DLL counts, made by the first count and kept empty"},
    };
}
