// Round trips on the whole test machine: its C: drive and registry are
// snapshotted, SETUP.EXE runs as its own process driven as a person would,
// and the machine afterwards is compared with the snapshot. Only the
// differences named in the allow-lists below may remain.
#include <doctest/doctest.h>

#include "MachineSnapshot.h"
#include "driver/Driver.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "windows/ControlIds.h"

#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace {

// What Wine changes by itself while programs start and end, whatever they
// do; nothing of it is the program's doing.
const std::vector<AllowedDifference> MachineChurn = {
    {"HKCU\\Software\\Wine\\Temporary System Parameters\\*",
     "a volatile key in which Wine keeps the session's display parameters; the first window of a fresh Wine "
     "session fills it"},
};

MachineState SnapshotOfMachine()
{
    return TakeSnapshot({"C:\\"}, {"HKLM", "HKCU"});
}

// The differences that neither the design nor the machine explains.
void CheckOnlyAllowedDifferences(const MachineState& before, const MachineState& after,
                                 std::vector<AllowedDifference> allowed)
{
    allowed.insert(allowed.end(), MachineChurn.begin(), MachineChurn.end());
    const std::vector<Difference> left = Unexplained(Compare(before, after), allowed);
    INFO("differences not allowed:\n" << Describe(left));
    CHECK(left.empty());
}

HWND WaitForMainWindow(const SetupProcess& setup, const std::string& eventCaption)
{
    HWND main = nullptr;
    WaitUntil([&] {
        main = FindWindowOf(setup.Id(), "TfrmMain");
        return main != nullptr && TextOf(ControlOf(main, MainIds::btnEvent)) == eventCaption;
    });
    return main;
}

}  // namespace

TEST_CASE("the snapshot tells every change apart, and a setup started and quit changes nothing")
{
    ScratchFolder distribution("rt-null");
    ScratchFolder temp("rt-nulltmp");
    REQUIRE(CopyFixture(ProgramFolder() + "SETUP.EXE", distribution / "SETUP.EXE"));
    WriteTextFile(distribution / "SETUP.INI", "[Title]\r\nSetup=Round trip\r\n");
    const MachineState before = SnapshotOfMachine();
    const auto holds = [&](const std::string& path) {
        for (const auto& entry : before)
            if (PathMatches(path, entry.first)) return true;
        return false;
    };
    CHECK(holds("C:\\windows\\system32\\kernel32.dll"));
    CHECK(holds("HKLM\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\|ProgramFilesDir"));
    CHECK(holds("HKCU\\Software\\Wine\\"));

    SUBCASE("files, folders, keys and values made, changed and removed are all seen")
    {
        ScratchFolder made("rt-made");
        WriteTextFile(made / "表示.TXT", "x");
        WriteTextFile(distribution / "SETUP.INI", "[Title]\r\nSetup=Changed\r\n");
        HKEY key = nullptr;
        REQUIRE(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\OrvaneSetupTests\\RoundTrip", 0, nullptr, 0,
                                KEY_SET_VALUE, nullptr, &key, nullptr) == ERROR_SUCCESS);
        RegSetValueExA(key, "値", 0, REG_SZ, reinterpret_cast<const BYTE*>("a"), 2);
        RegCloseKey(key);
        const std::vector<Difference> seen = Compare(before, SnapshotOfMachine());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\OrvaneSetupTests\\RoundTrip");
        const auto has = [&](Difference::Kind kind, const std::string& path) {
            for (const Difference& difference : seen)
                if (difference.kind == kind && difference.path == path) return true;
            return false;
        };
        CHECK(has(Difference::Added, made.Path()));
        CHECK(has(Difference::Added, made / "表示.TXT"));
        CHECK(has(Difference::Changed, distribution / "SETUP.INI"));
        CHECK(has(Difference::Added, "HKCU\\Software\\OrvaneSetupTests\\RoundTrip\\|値"));
        const std::vector<Difference> left =
            Unexplained(seen, {{made.Path() + "*", "made by the test"},
                               {distribution / "SETUP.INI", "changed by the test"},
                               {"HKCU\\Software\\OrvaneSetupTests\\RoundTrip\\*", "made by the test"},
                               {"HKCU\\Software\\OrvaneSetupTests\\", "made by the test when missing"}});
        INFO(Describe(left));
        CHECK(left.size() <= MachineChurn.size());
    }
    SUBCASE("a setup started and quit")
    {
        SetupProcess setup(distribution / "SETUP.EXE", "", temp.Path());
        REQUIRE(setup.Started());
        HWND main = WaitForMainWindow(setup, "セットアップ開始(&S)");
        REQUIRE(main != nullptr);
        Press(ControlOf(main, MainIds::btnEnd));
        HWND box = WaitForMessageBox(setup.Id(), "終了確認");
        REQUIRE(box != nullptr);
        Answer(box, IDYES);
        REQUIRE(setup.WaitForExit());
        CheckOnlyAllowedDifferences(before, SnapshotOfMachine(), {});
    }
}

namespace {

std::string WindowsFolder()
{
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\";
}

std::string ShellFolder(int csidl)
{
    char folder[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + "\\";
}

void SetString(HKEY root, const std::string& key, const std::string& name, const std::string& value)
{
    HKEY opened = nullptr;
    REQUIRE(RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened, nullptr) ==
            ERROR_SUCCESS);
    RegSetValueExA(opened, name.empty() ? nullptr : name.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
    RegCloseKey(opened);
}

std::string ReadString(HKEY root, const std::string& key, const std::string& name)
{
    char value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

// What an install of a small program leaves on the machine, laid down by
// hand as the install procedure would leave it, with its uninstall record.
// Everything is named after this test process, so that runs never meet.
struct HandMadeInstall {
    std::string tag = std::to_string(GetCurrentProcessId());
    std::string windows = WindowsFolder();
    std::string uninstaller = windows + "UNOVSET.EXE";
    std::string app = ShellFolder(CSIDL_PROGRAM_FILES) + "Orvane 往復 " + tag + "\\";
    std::string group = ShellFolder(CSIDL_PROGRAMS) + "Orvane 往復 " + tag + "\\";
    std::string desktopShortcut = ShellFolder(CSIDL_DESKTOPDIRECTORY) + "往復 " + tag + ".lnk";
    std::string removedKey = "Software\\OrvaneRoundTrip" + tag;
    std::string keptKey = "Software\\OrvaneRoundTripKept" + tag;
    std::string iniFile = windows + "ORVRT" + tag + ".INI";
    std::string restoredExtension = "ort" + tag;
    std::string newExtension = "orn" + tag;
    std::string entryKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Orvane 往復 " + tag;
    std::string programId = "ORVRT" + tag;

    // Before the snapshot: the extension already had a file type.
    void BeforeInstall() const { SetString(HKEY_CLASSES_ROOT, "." + restoredExtension, "", "orvearlier.file"); }

    void LayDown(const std::string& setupProgram, const std::string& options) const
    {
        REQUIRE(CopyFixture(setupProgram, uninstaller));
        REQUIRE(CreateDirectoryA(app.c_str(), nullptr));
        REQUIRE(CreateDirectoryA((app + "DATA").c_str(), nullptr));
        WriteTextFile(app + "VIEW.EXE", "the program");
        WriteTextFile(app + "DATA\\SAMPLE.DAT", "its data");
        WriteTextFile(app + "COMMON.DAT", "a shared component");
        SetString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", "", "");
        HKEY shared = nullptr;
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs", 0,
                      KEY_SET_VALUE, &shared);
        const DWORD one = 1;
        RegSetValueExA(shared, (app + "COMMON.DAT").c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one),
                       sizeof one);
        RegDeleteValueA(shared, "");
        RegCloseKey(shared);
        REQUIRE(CreateDirectoryA(group.c_str(), nullptr));
        WriteTextFile(group + "Viewer.lnk", "shortcut");
        WriteTextFile(desktopShortcut, "shortcut");
        SetString(HKEY_CURRENT_USER, removedKey + "\\Settings", "Folder", app);
        SetString(HKEY_CURRENT_USER, keptKey, "Version", "1.0");
        WritePrivateProfileStringA("Viewer", "Folder", app.c_str(), iniFile.c_str());
        SetString(HKEY_CLASSES_ROOT, "." + restoredExtension, "", restoredExtension + "_auto_file");
        SetString(HKEY_CLASSES_ROOT, restoredExtension + "_auto_file\\shell\\open\\command", "", app + "VIEW.EXE %1");
        SetString(HKEY_CLASSES_ROOT, "." + newExtension, "", newExtension + "_auto_file");
        SetString(HKEY_CLASSES_ROOT, newExtension + "_auto_file\\shell\\open\\command", "", app + "VIEW.EXE %1");
        WritePrivateProfileStringA(programId.c_str(), "Folder", app.c_str(), (windows + "OVSET98.INI").c_str());
        WriteTextFile(app + "UNSETUP.INI", Record(options));
        SetString(HKEY_LOCAL_MACHINE, entryKey, "DisplayName", "Orvane 往復");
        SetString(HKEY_LOCAL_MACHINE, entryKey, "UninstallString", uninstaller + " \"" + app + "UNSETUP.INI\"");
    }

    std::string Record(const std::string& options) const
    {
        return "[Information]\r\nMessage1=Orvane UnSetup(UnInstall) Initialize File\r\n"
               "[Title]\r\nUnSetup=Orvane 往復\r\n[SetupFolder]\r\nFolder=" + app + "\r\n"
               "[DeleteFolder]\r\nFolder1=" + app + "DATA\\\r\n"
               "[DeleteFile]\r\nFile1=" + app + "VIEW.EXE\r\nFile2=" + app + "DATA\\SAMPLE.DAT\r\nFile3=" + app +
               "COMMON.DAT,/S\r\nFile4=" + app + "UNSETUP.INI\r\n"
               "[DeleteShortCut]\r\nFile1=" + group + "Viewer.lnk\r\nFile2=" + desktopShortcut + "\r\n"
               "[DeleteRegistry]\r\nKey1=(Cuser)" + removedKey + "\r\n"
               "[AddDeleteFile]\r\nFile1=" + app + "*.LOG\r\n"
               "[RestoreRelate]\r\nKey1=" + restoredExtension + ",orvearlier.file\r\nKey2=" + newExtension + ",\r\n"
               "[UnSetupOption]\r\nCheckBox=" + options + "\r\n"
               "[UnSetupRegistryKey]\r\nKey=" + entryKey + "\r\n[ProgramID]\r\nID=" + programId + "\r\n";
    }

    // The differences the design keeps on purpose.
    std::vector<AllowedDifference> KeptByDesign() const
    {
        return {
            {uninstaller, "UNOVSET.EXE: the uninstaller, shared by every program installed, never removed"},
            {"HKCU\\" + keptKey + "\\*", "a [Registry] value whose key [DeleteRegistry] does not list"},
            {iniFile, "an [IniFile] entry: nothing of it is recorded for the uninstall"},
            {windows + "OVSET98.INI", "the per-machine list of setup folders stays, without this program's section"},
        };
    }

    void CleanUp() const
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, keptKey.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, keptKey.c_str());
        DeleteFileA(iniFile.c_str());
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ("." + restoredExtension).c_str());
        RegDeleteKeyA(HKEY_CLASSES_ROOT, ("." + restoredExtension).c_str());
    }
};

// Starts the Add/Remove entry's command exactly as stored and drives the
// uninstall as a person would: start, Yes to the shared file, OK at the end.
void UninstallThroughEntry(const HandMadeInstall& install, const std::string& tempFolder)
{
    const std::string command = ReadString(HKEY_LOCAL_MACHINE, install.entryKey, "UninstallString");
    REQUIRE_FALSE(command.empty());
    SetupProcess uninstall(ExactCommandLine{command}, tempFolder);
    REQUIRE(uninstall.Started());
    HWND main = WaitForMainWindow(uninstall, "アンセットアップ開始(&S)");
    REQUIRE(main != nullptr);
    CHECK(TextOf(ControlOf(main, MainIds::txtFolder)) == install.app);
    Press(ControlOf(main, MainIds::btnEvent));

    HWND dialog = nullptr;
    REQUIRE(WaitUntil([&] { return (dialog = FindWindowOf(uninstall.Id(), "TfrmCustomDlg")) != nullptr; }));
    CHECK(TextOf(ControlOf(dialog, CustomDlgIds::lblMessage)) ==
          install.app + "COMMON.DAT\r\rこの共有ファイルは，現在，他のどのプログラムからも使われていません．\r"
                        "しかし，今後，他のプログラムで使われる可能性があります．\rこのファイルを削除してもよろしいですか？");
    Press(ControlOf(dialog, CustomDlgIds::btnYes));

    HWND done = WaitForMessageBox(uninstall.Id(), "完了");
    REQUIRE_MESSAGE(done != nullptr, "no completion box; a failure question instead: "
                                         << (FindWindowOf(uninstall.Id(), "#32770") != nullptr));
    CHECK(MessageBoxText(done) == "アンセットアップを完了しました．");
    Answer(done, IDOK);
    CHECK(uninstall.WaitForExit());
}

}  // namespace

TEST_CASE("an install laid down by hand is uninstalled through its Add/Remove entry and leaves the machine as it was")
{
    ScratchFolder distribution("rt-hand");
    ScratchFolder temp("rt-handtmp");
    REQUIRE(CopyFixture(ProgramFolder() + "SETUP.EXE", distribution / "SETUP.EXE"));
    HandMadeInstall install;
    install.BeforeInstall();
    const MachineState before = SnapshotOfMachine();

    SUBCASE("no options; the application's log files are extra files of the record")
    {
        install.LayDown(distribution / "SETUP.EXE", "0,0,0,0");
        WriteTextFile(install.app + "RUN.LOG", "written by the application");
    }
    SUBCASE("delete-all, with files and folders the application added")
    {
        install.LayDown(distribution / "SETUP.EXE", "DeleteAll");
        REQUIRE(CreateDirectoryA((install.app + "ユーザー").c_str(), nullptr));
        WriteTextFile(install.app + "ユーザー\\NOTES.TXT", "the user's");
        WriteTextFile(install.app + "DATA\\ADDED.DAT", "the application's");
        WriteTextFile(install.app + "VIEW.CFG", "the application's");
    }
    UninstallThroughEntry(install, temp.Path());
    const MachineState after = SnapshotOfMachine();
    CheckOnlyAllowedDifferences(before, after, install.KeptByDesign());
    CHECK(ReadString(HKEY_CLASSES_ROOT, "." + install.restoredExtension, "") == "orvearlier.file");
    char section[64] = {};
    GetPrivateProfileStringA(install.programId.c_str(), "Folder", "", section, sizeof section,
                             (install.windows + "OVSET98.INI").c_str());
    CHECK(std::string(section).empty());
    install.CleanUp();
}
