// A full install of the sample distribution (samples/viewer, laid out by
// orvauthor into the build tree) by SETUP.EXE as its own process, driven as a
// person would: readme, settings, the folder question, the disk change, the
// association question, the failure details, the restart offer declined and
// its warning. Then the files, the registry, the record, UNOVSET.EXE, the
// Add/Remove entry and OVSET98.INI are checked, and everything the install
// made in the shared Wine prefix is removed again.
#include <doctest/doctest.h>

#include "driver/Driver.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "support/ScratchRegistry.h"
#include "windows/ControlIds.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// What the sample's script names (samples/viewer/source/SETUP.INI).
const std::string ViewerKey = "Software\\Orvane\\SampleViewer";
const std::string ControlKey = "Software\\Orvane\\SampleControl";
const std::string EntryKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneSampleViewer";
const std::string SharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

std::string SampleDisk(int n)
{
    return ProgramFolder() + "..\\sample\\dist\\DISK" + std::to_string(n) + "\\";
}

std::string WithSlash(std::string folder)
{
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = {};
    SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
    return WithSlash(path);
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

std::string ProgramFilesFolder()
{
    const auto value = ReadStoredValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion",
                                       "ProgramFilesDir");
    REQUIRE(value);
    return WithSlash(value->bytes.substr(0, value->bytes.find('\0')));
}

std::string StringValue(HKEY root, const std::string& key, const std::string& name)
{
    const auto value = ReadStoredValue(root, key, name);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ)) return "<none>";
    return value->bytes.substr(0, value->bytes.find('\0'));
}

// Everything the sample's install puts into the prefix, which all tests
// share: removed before the run (a failed earlier run may have left it) and
// after it.
struct SampleTraces {
    std::string app = ProgramFilesFolder() + "Orvane Sample\\";
    std::string component = SystemFolder() + "ORVSMPL.DLL";
    std::vector<std::string> links = {
        ShellFolder(CSIDL_DESKTOPDIRECTORY) + "サンプルビューア.lnk",
        ShellFolder(CSIDL_PROGRAMS) + "Orvane Sample\\サンプルビューア.lnk",
        ShellFolder(CSIDL_PROGRAMS) + "Orvane Sample\\説明書.lnk",
        ShellFolder(CSIDL_STARTUP) + "サンプルビューア.lnk",
        ShellFolder(CSIDL_SENDTO) + "サンプルビューア.lnk",
    };

    SampleTraces() { Remove(); }
    ~SampleTraces() { Remove(); }

    void Remove() const
    {
        RemoveTree(app);
        DeleteFileA(component.c_str());
        DeleteFileA((WindowsFolder() + "ORVSMPL.INI").c_str());
        for (const std::string& link : links) DeleteFileA(link.c_str());
        RemoveDirectoryA((ShellFolder(CSIDL_PROGRAMS) + "Orvane Sample").c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, ViewerKey.c_str());
        RegDeleteTreeA(HKEY_CURRENT_USER, ControlKey.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, ViewerKey.c_str());
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, EntryKey.c_str());
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".osv");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "osv_auto_file");
        HKEY shared = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, SharedDlls.c_str(), 0, KEY_SET_VALUE, &shared) == ERROR_SUCCESS) {
            RegDeleteValueA(shared, component.c_str());
            RegCloseKey(shared);
        }
        const std::string list = WindowsFolder() + "OVSET98.INI";
        WritePrivateProfileStringA("ORVSAMPLE", nullptr, nullptr, list.c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, list.c_str());
    }
};

// Copies every file of `from` into `to`, except those named in `except`.
void CopyDisk(const std::string& from, const std::string& to, const std::vector<std::string>& except = {})
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "*").c_str(), &found);
    REQUIRE(search != INVALID_HANDLE_VALUE);
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        const std::string name = found.cFileName;
        if (std::find(except.begin(), except.end(), name) != except.end()) continue;
        CHECK_MESSAGE(CopyFixture(from + name, to + name), Utf8(name));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

HWND WaitForMain(DWORD id, const std::string& eventCaption)
{
    HWND main = nullptr;
    const bool settled = WaitUntil([&] {
        main = FindWindowOf(id, "TfrmMain");
        return main != nullptr && TextOf(ControlOf(main, MainIds::btnEvent)) == eventCaption;
    });
    REQUIRE_MESSAGE(settled, "no main window with btnEvent " << Utf8(eventCaption));
    return main;
}

// The visible top-level windows of a process, for a failure message.
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

HWND ExpectBox(const SetupProcess& setup, const std::string& caption, const std::string& text,
               DWORD timeout = 60000)
{
    HWND box = WaitForMessageBox(setup.Id(), caption, timeout);
    REQUIRE_MESSAGE(box != nullptr, "no box " << Utf8(caption) << "; running " << setup.Running() << ", exit code " << setup.ExitCode() << "; shown:\n" << VisibleWindows(setup.Id()));
    CHECK(MessageBoxText(box) == text);
    return box;
}

}  // namespace

TEST_CASE("the sample distribution installs from the first screen to the restart offer")
{
    REQUIRE_MESSAGE(PathExists(SampleDisk(1) + "SETUP.EXE"), "the sample is laid out by tools/layout-sample.sh");
    SampleTraces traces;
    const std::string windows = WindowsFolder();
    const std::string uninstaller = windows + "UNOVSET.EXE";
    DeleteFileA(uninstaller.c_str());
    // The drive the disks go into, and the run's own temporary folder.
    ScratchFolder drive("drive");
    ScratchFolder temp("sampletmp");
    CopyDisk(SampleDisk(1), drive.Path());

    SetupProcess setup(drive / "SETUP.EXE", "", temp.Path());
    REQUIRE(setup.Started());
    HWND main = WaitForMain(setup.Id(), "セットアップ続行(&C)");
    CHECK(TextOf(main) == "Orvane サンプルビューア");
    CHECK(TextOf(ControlOf(main, MainIds::fraReadme)) == "お読みください");
    Press(ControlOf(main, MainIds::btnEvent));

    main = WaitForMain(setup.Id(), "セットアップ開始(&S)");
    const std::string app = traces.app;
    CHECK(TextOf(ControlOf(main, MainIds::txtFolder)) == app);
    for (int box : {MainIds::chkSCutDesktop, MainIds::chkSCutStartMenu, MainIds::chkSCutStartUp, MainIds::chkSCutSendTo}) {
        CHECK(IsWindowEnabled(ControlOf(main, box)));
        CHECK(IsChecked(ControlOf(main, box)));
    }
    Press(ControlOf(main, MainIds::btnEvent));

    Answer(ExpectBox(setup, "フォルダ作成", app + "\r\rこのフォルダは存在しません．作成してもよろしいですか？"),
           IDYES);
    // Disk 2 goes in, with one of its files missing: a damaged disk.
    HWND disk = ExpectBox(setup, "ディスク交換", "2枚目のディスクに交換してください．");
    CopyDisk(SampleDisk(2), drive.Path(), {"SETUP.EXE", "SAMPLE2.DAT"});
    Answer(disk, IDOK);
    Answer(ExpectBox(setup, "関連付けの確認",
                     "拡張子 *.osv を\r" + app + "SAMPLEVW.EXE\rに関連付けします．よろしいですか？"),
           IDYES);
    Answer(ExpectBox(setup, "警告", "フォルダの作成・ファイルのコピーで，一部の処理が失敗しました．\r詳細を表示しますか？"),
           IDYES);

    main = WaitForMain(setup.Id(), "続行(&C)");
    CHECK(TextOf(ControlOf(main, MainIds::fraReadme)) == "作成・コピー処理失敗　詳細表示");
    CHECK(TextOf(ControlOf(main, MainIds::txtReadme)) ==
          "<File> " + drive.Path() + "SAMPLE2.DAT\r\nコピー元のファイルが見つかりません．\r\n\r\n");
    Press(ControlOf(main, MainIds::btnEvent));

    // WINDOWS_REBOOT: no completion message; the restart offer, declined.
    HWND offer = nullptr;
    REQUIRE(WaitUntil([&] { return (offer = FindWindowOf(setup.Id(), "#32770")) != nullptr; }, 30000));
    CHECK(FindWindowOf(setup.Id(), "TfrmMain") == nullptr);
    CHECK(TextOf(offer) != "完了");
    Answer(offer, IDNO);
    Answer(ExpectBox(setup, "警告", "Windowsを再起動すると，セットアップは完了します．"), IDOK);
    REQUIRE(setup.WaitForExit());
    CHECK(setup.ExitCode() == 0);

    // The files.
    CHECK(PathExists(app + "SAMPLEVW.EXE"));
    CHECK(ReadTextFile(app + "MANUAL.TXT") == ReadTextFile(ProgramFolder() + "..\\sample\\source\\MANUAL.TXT"));
    CHECK(PathExists(app + "DATA\\SAMPLE.DAT"));
    CHECK(PathExists(app + "DATA\\表示\\見本.TXT"));
    CHECK_FALSE(PathExists(app + "DATA\\SAMPLE2.DAT"));
    CHECK(PathExists(traces.component));
    for (const std::string& link : traces.links) CHECK_MESSAGE(PathExists(link), Utf8(link));
    CHECK(ReadTextFile(uninstaller) == ReadTextFile(drive / "SETUP.EXE"));
    char text[MAX_PATH] = {};
    GetPrivateProfileStringA("Viewer", "DataFolder", "", text, MAX_PATH, (app + "DATA\\SETTINGS.INI").c_str());
    CHECK(std::string(text) == app + "DATA");
    GetPrivateProfileStringA("Orvane", "SampleViewer", "", text, MAX_PATH, (windows + "ORVSMPL.INI").c_str());
    CHECK(std::string(text) == app + "SAMPLEVW.EXE");

    // The registry.
    CHECK(StringValue(HKEY_CURRENT_USER, ViewerKey, "InstallFolder") == app.substr(0, app.size() - 1));
    const auto version = ReadStoredValue(HKEY_CURRENT_USER, ViewerKey, "Version");
    REQUIRE(version);
    CHECK(version->type == REG_DWORD);
    CHECK(version->bytes == std::string("\x64\0\0\0", 4));
    const auto flags = ReadStoredValue(HKEY_CURRENT_USER, ViewerKey, "Flags");
    REQUIRE(flags);
    CHECK(flags->type == REG_BINARY);
    CHECK(flags->bytes == std::string("\x0B\x0A\0\0", 4));
    CHECK(ReadStoredValue(HKEY_CURRENT_USER, ViewerKey, "Settings")->type == REG_EXPAND_SZ);
    CHECK(StringValue(HKEY_CURRENT_USER, ViewerKey + "\\表示", "") == "標準");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, ViewerKey, "Path") == app.substr(0, app.size() - 1));
    CHECK(StringValue(HKEY_CURRENT_USER, ControlKey, "Path") == traces.component);
    const auto count = ReadStoredValue(HKEY_LOCAL_MACHINE, SharedDlls, traces.component);
    REQUIRE(count);
    CHECK(count->bytes == std::string("\x01\0\0\0", 4));
    CHECK(StringValue(HKEY_CLASSES_ROOT, ".osv", "") == "osv_auto_file");
    CHECK(StringValue(HKEY_CLASSES_ROOT, "osv_auto_file", "") == "Orvane サンプル文書");
    CHECK(StringValue(HKEY_CLASSES_ROOT, "osv_auto_file\\DefaultIcon", "") == app + "SAMPLEVW.EXE,0");
    const std::string viewer = app + "SAMPLEVW.EXE";
    CHECK(StringValue(HKEY_CLASSES_ROOT, "osv_auto_file\\shell\\open\\command", "") == "\"" + viewer + "\" %1");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, EntryKey, "DisplayName") == "Orvane サンプルビューア");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, EntryKey, "UninstallString") == uninstaller + " \"" + app + "UNSETUP.INI\"");
    GetPrivateProfileStringA("ORVSAMPLE", "Folder", "", text, MAX_PATH, (windows + "OVSET98.INI").c_str());
    CHECK(std::string(text) == app);

    // The record, line by line.
    const std::string record = ReadTextFile(app + "UNSETUP.INI");
    MESSAGE("UNSETUP.INI after the sample install:\n" << Utf8(record));
    const std::string programs = ShellFolder(CSIDL_PROGRAMS);
    const std::vector<std::string> expected = {
        "[Information]",
        "Message1=Orvane UnSetup(UnInstall) Initialize File",
        "Message2=！！！　警告　！！！",
        "Message3=このファイルをエディタなどで書き換えたり，削除しないでください．",
        "Message4=書き換えた場合，アンセットアップ動作の保証はできません．",
        "[Title]",
        "UnSetup=Orvane サンプルビューアの削除",
        "[SetupFolder]",
        "Folder=" + app,
        "[DeleteFolder]",
        "Folder1=" + app + "DATA\\",
        "Folder2=" + app + "DATA\\表示\\",
        "[DeleteFile]",
        "File1=" + app + "SAMPLEVW.EXE",
        "File2=" + app + "MANUAL.TXT",
        "File3=" + traces.component + ",/S/R",
        "File4=" + app + "DATA\\SAMPLE.DAT,/W",
        "File5=" + app + "DATA\\表示\\見本.TXT",
        "File6=" + app + "UNSETUP.INI",
        "[DeleteShortCut]",
        "File1=" + traces.links[0],
        "File2=" + traces.links[1],
        "File3=" + traces.links[2],
        "File4=" + traces.links[3],
        "File5=" + traces.links[4],
        "[DeleteRegistry]",
        "Key1=(Cuser)Software\\Orvane\\SampleViewer",
        "Key2=(Local)SOFTWARE\\Orvane\\SampleViewer",
        "[AddDeleteFile]",
        "File1=" + app + "DATA\\*.LOG",
        "File2=" + windows + "ORVSMPL.INI",
        "[RestoreRelate]",
        "Key1=osv,",
        "[UnSetupOption]",
        "CheckBox=1,0,0,0",
        "[UnSetupRegistryKey]",
        "Key=" + EntryKey,
        "[ProgramID]",
        "ID=ORVSAMPLE",
    };
    CHECK(NonBlankLines(record) == expected);
    DeleteFileA(uninstaller.c_str());
}
