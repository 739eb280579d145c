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

// The differences that neither the program nor the machine explains.
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

std::string ReadString(HKEY root, const std::string& key, const std::string& name)
{
    char value[1024] = {};
    DWORD size = sizeof value;
    if (RegGetValueA(root, key.c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return {};
    return value;
}

// The sample distribution as the build lays it out (samples/viewer).
std::string SampleDisk(int n)
{
    return ProgramFolder() + "..\\sample\\dist\\DISK" + std::to_string(n) + "\\";
}

void CopyDisk(const std::string& from, const std::string& to)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "*").c_str(), &found);
    REQUIRE(search != INVALID_HANDLE_VALUE);
    do {
        const std::string name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && !PathExists(to + name))
            CHECK_MESSAGE(CopyFixture(from + name, to + name), Utf8(name));
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

// Answers a box and waits until it has gone, so that the next box looked
// for is never this one still closing.
void AnswerAndWait(HWND box, int button)
{
    Answer(box, button);
    CHECK(WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }));
}

HWND ExpectBox(const SetupProcess& process, const std::string& caption, const std::string& text)
{
    HWND box = WaitForMessageBox(process.Id(), caption, 60000);
    REQUIRE_MESSAGE(box != nullptr, "no box " << Utf8(caption));
    CHECK(MessageBoxText(box) == text);
    return box;
}

// What the sample's script names, on this machine.
struct Sample {
    std::string windows = WindowsFolder();
    std::string uninstaller = windows + "UNOVSET.EXE";
    std::string app = ShellFolder(CSIDL_PROGRAM_FILES) + "Orvane Sample\\";
    std::string component = ShellFolder(CSIDL_SYSTEM) + "ORVSMPL.DLL";
    std::string group = ShellFolder(CSIDL_PROGRAMS) + "Orvane Sample\\";
    std::string entryKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneSampleViewer";

    // Whatever an earlier run that failed half-way may have left, so that the
    // snapshot shows a machine that never saw the sample.
    void RemoveTraces() const
    {
        RemoveTree(app);
        RemoveTree(group);
        DeleteFileA(component.c_str());
        DeleteFileA((windows + "ORVSMPL.INI").c_str());
        for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_STARTUP, CSIDL_SENDTO})
            DeleteFileA((ShellFolder(csidl) + "サンプルビューア.lnk").c_str());
        for (const char* key : {"Software\\Orvane\\SampleViewer", "Software\\Orvane\\SampleControl"})
            RegDeleteTreeA(HKEY_CURRENT_USER, key);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane\\SampleViewer");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, entryKey.c_str());
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".osv");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "osv_auto_file");
        RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs",
                           component.c_str());
        const std::string list = windows + "OVSET98.INI";
        WritePrivateProfileStringA("ORVSAMPLE", nullptr, nullptr, list.c_str());
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, list.c_str());
        // What an uninstall keeps on purpose, gone too when nothing
        // else uses it: the snapshot then sees the sample's whole trace.
        DeleteFileA(uninstaller.c_str());
        if (PathExists(list) && ReadTextFile(list).empty()) DeleteFileA(list.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Orvane");
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Orvane");
    }

    // The differences an uninstall keeps on purpose after this sample's round
    // trip; `temp` is the runs' temporary folder.
    std::vector<AllowedDifference> KeptOnPurpose(const std::string& temp) const
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
            {windows + "ORVSMPL.INI", "an [IniFile] entry, not recorded for the uninstall"},
            {temp + "OVTMP*", "the work folder of a run still open"},
            {windows + "OVSET98.INI", "the per-machine list of setup folders stays, without this program's section"},
            {"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\",
             "the system's list of shared-DLL counts, made by the first count and kept empty"},
        };
    }
};

// SETUP.EXE from the first screen to the restart offer, as a person answers.
void InstallSample(const Sample& sample, const std::string& drive, const std::string& temp)
{
    SetupProcess setup(drive + "SETUP.EXE", "", temp);
    REQUIRE(setup.Started());
    Press(ControlOf(WaitForMainWindow(setup, "セットアップ続行(&C)"), MainIds::btnEvent));
    HWND main = WaitForMainWindow(setup, "セットアップ開始(&S)");
    REQUIRE(main != nullptr);
    CHECK(TextOf(ControlOf(main, MainIds::txtFolder)) == sample.app);
    Press(ControlOf(main, MainIds::btnEvent));
    AnswerAndWait(ExpectBox(setup, "フォルダ作成",
                     sample.app + "\r\rこのフォルダは存在しません．作成してもよろしいですか？"),
           IDYES);
    HWND disk = ExpectBox(setup, "ディスク交換", "2枚目のディスクに交換してください．");
    CopyDisk(SampleDisk(2), drive);
    AnswerAndWait(disk, IDOK);
    AnswerAndWait(ExpectBox(setup, "関連付けの確認",
                     "拡張子 *.osv を\r" + sample.app + "SAMPLEVW.EXE\rに関連付けします．よろしいですか？"),
           IDYES);
    // WINDOWS_REBOOT: the restart offer instead of the completion, declined.
    HWND offer = nullptr;
    REQUIRE(WaitUntil([&] { return (offer = FindWindowOf(setup.Id(), "#32770")) != nullptr; }, 60000));
    CHECK(TextOf(offer) != "警告");
    AnswerAndWait(offer, IDNO);
    AnswerAndWait(ExpectBox(setup, "警告", "Windowsを再起動すると，セットアップは完了します．"), IDOK);
    REQUIRE(setup.WaitForExit());
    REQUIRE(PathExists(sample.app + "UNSETUP.INI"));
}

// The Add/Remove entry's command, run exactly as stored: the uninstall
// screen, the start button, Yes for the shared component that nothing counts
// any more, and OK at the end.
void UninstallSample(const Sample& sample, const std::string& temp)
{
    const std::string command = ReadString(HKEY_LOCAL_MACHINE, sample.entryKey, "UninstallString");
    CHECK(command == sample.uninstaller + " \"" + sample.app + "UNSETUP.INI\"");
    SetupProcess uninstall(ExactCommandLine{command}, temp);
    REQUIRE(uninstall.Started());
    HWND main = WaitForMainWindow(uninstall, "アンセットアップ開始(&S)");
    REQUIRE(main != nullptr);
    CHECK(TextOf(main) == "Orvane サンプルビューアの削除");
    Press(ControlOf(main, MainIds::btnEvent));
    HWND dialog = nullptr;
    REQUIRE(WaitUntil([&] { return (dialog = FindWindowOf(uninstall.Id(), "TfrmCustomDlg")) != nullptr; }));
    CHECK(TextOf(ControlOf(dialog, CustomDlgIds::lblMessage)).rfind(sample.component + "\r\r", 0) == 0);
    Press(ControlOf(dialog, CustomDlgIds::btnYes));
    HWND done = WaitForMessageBox(uninstall.Id(), "完了", 60000);
    REQUIRE_MESSAGE(done != nullptr, "no completion box");
    CHECK(MessageBoxText(done) == "アンセットアップを完了しました．");
    AnswerAndWait(done, IDOK);
    REQUIRE(uninstall.WaitForExit());
}

// Sets the uninstall option of the distribution's script.
void SetUninstallOption(const std::string& drive, const std::string& option)
{
    REQUIRE(WritePrivateProfileStringA("Extend", "UnSetupOption", option.c_str(), (drive + "SETUP.INI").c_str()));
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, (drive + "SETUP.INI").c_str());
}

}  // namespace

TEST_CASE("the sample installs through SETUP.EXE and uninstalls through its Add/Remove entry, leaving the machine as it was")
{
    REQUIRE_MESSAGE(PathExists(SampleDisk(1) + "SETUP.EXE"), "the sample is laid out by tools/layout-sample.sh");
    Sample sample;
    sample.RemoveTraces();
    ScratchFolder drive("rt-drive");
    ScratchFolder temp("rt-tmp");
    CopyDisk(SampleDisk(1), drive.Path());
    const MachineState before = SnapshotOfMachine();

    SUBCASE("the script's own option, *.INI; the application's log and INI files go with the record")
    {
        InstallSample(sample, drive.Path(), temp.Path());
        WriteTextFile(sample.app + "DATA\\RUN.LOG", "written by the application");
        WriteTextFile(sample.app + "DATA\\表示\\VIEW.INI", "[View]\r\nZoom=2\r\n");
        WriteTextFile(sample.app + "PREFS.INI", "[Prefs]\r\n");
    }
    SUBCASE("delete-all, with files and folders the application added that nothing names")
    {
        SetUninstallOption(drive.Path(), "DeleteAll");
        InstallSample(sample, drive.Path(), temp.Path());
        REQUIRE(CreateDirectoryA((sample.app + "ユーザー").c_str(), nullptr));
        WriteTextFile(sample.app + "ユーザー\\NOTES.TXT", "the user's");
        WriteTextFile(sample.app + "DATA\\表示\\ADDED.DAT", "the application's");
        WriteTextFile(sample.app + "SAMPLEVW.CFG", "the application's");
    }
    UninstallSample(sample, temp.Path());
    const MachineState after = SnapshotOfMachine();
    std::vector<AllowedDifference> allowed = sample.KeptOnPurpose(temp.Path());
    allowed.push_back({drive.Path() + "*", "the distribution's drive: disk 2 put in, the script's option set"});
    CheckOnlyAllowedDifferences(before, after, allowed);
    // Allowed in general, but this sample's record removes them.
    CHECK_FALSE(PathExists(sample.windows + "ORVSMPL.INI"));
    CHECK_FALSE(PathExists(sample.app));
    char folder[MAX_PATH] = {};
    GetPrivateProfileStringA("ORVSAMPLE", "Folder", "", folder, MAX_PATH, (sample.windows + "OVSET98.INI").c_str());
    CHECK(std::string(folder).empty());
    sample.RemoveTraces();
}
