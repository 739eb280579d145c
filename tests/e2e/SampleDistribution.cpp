#include "SampleDistribution.h"

#include "services/Win32Files.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "support/ScratchRegistry.h"
#include "windows/ControlIds.h"

#include <shlobj.h>

#include <algorithm>

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
    WIN32_FIND_DATAA found;
    const FindHandle search(FindFirstFileA((from + "*").c_str(), &found));
    if (!search) return {from};
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        const std::string name = found.cFileName;
        if (std::find(except.begin(), except.end(), name) != except.end()) continue;
        if (!CopyFixture(from + name, to + name)) failed.push_back(name);
    } while (FindNextFileA(search.Get(), &found));
    return failed;
}

std::string WindowsFolder()
{
    char path[MAX_PATH] = {};
    GetWindowsDirectoryA(path, MAX_PATH);
    return WithSlash(path);
}

std::string SystemFolder()
{
    char path[MAX_PATH] = {};
    GetSystemDirectoryA(path, MAX_PATH);
    return WithSlash(path);
}

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return WithSlash(path);
}

std::string StringValue(HKEY root, const std::string& key, const std::string& name)
{
    const auto value = ReadStoredValue(root, key, name);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return "<none>";
    return value->bytes.substr(0, value->bytes.find('\0'));
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
            char name[64] = {};
            GetClassNameA(window, name, sizeof name);
            visit.text += std::string("[") + name + "] " + Utf8(TextOf(window));
            if (std::string(name) == "#32770") visit.text += ": " + Utf8(MessageBoxText(window));
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
    DeleteFileA(component.c_str());
    DeleteFileA(iniFile.c_str());
    for (const std::string& link : links) DeleteFileA(link.c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, viewerKey.c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, controlKey.c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, viewerKey.c_str());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, entryKey.c_str());
    RegDeleteTreeA(HKEY_CLASSES_ROOT, ".osv");
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "osv_auto_file");
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, sharedDlls.c_str(), component.c_str());
    WritePrivateProfileStringA("ORVSAMPLE", nullptr, nullptr, setupFolderList.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, setupFolderList.c_str());
    // What an uninstall keeps on purpose, gone too when nothing else uses
    // it: a snapshot then sees the sample's whole trace.
    DeleteFileA(uninstaller.c_str());
    if (PathExists(setupFolderList) && ReadTextFile(setupFolderList).empty()) DeleteFileA(setupFolderList.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Orvane");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane");
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
