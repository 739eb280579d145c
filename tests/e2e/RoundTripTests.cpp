// Round trips on the whole test machine: its C: drive and registry are
// snapshotted, SETUP.EXE runs as its own process driven as a person would,
// and the machine afterwards is compared with the snapshot. Only the
// differences named in the allow-lists below may remain.
#include <doctest/doctest.h>

#include "MachineSnapshot.h"
#include "SampleDistribution.h"
#include "ScreenExpectations.h"
#include "driver/Driver.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "support/ScratchRegistry.h"
#include "windows/ControlIds.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

// The differences that neither the program nor the machine explains.
void CheckOnlyAllowedDifferences(const MachineState& before, const MachineState& after,
                                 std::vector<AllowedDifference> allowed)
{
    allowed.insert(allowed.end(), WineSessionChurn.begin(), WineSessionChurn.end());
    const std::vector<Difference> left = Unexplained(Compare(before, after), allowed);
    INFO("differences not allowed:\n" << Describe(left));
    CHECK(left.empty());
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
        REQUIRE(StoreValue(HKEY_CURRENT_USER, "Software\\OrvaneSetupTests\\RoundTrip", "値", REG_SZ,
                           std::string("a", 2)));
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
        CHECK(left.size() <= WineSessionChurn.size());
    }
    SUBCASE("a setup started and quit")
    {
        SetupProcess setup(distribution / "SETUP.EXE", "", temp.Path());
        REQUIRE(setup.Started());
        HWND main = ExpectMainScreen(setup, "セットアップ開始(&S)");
        Press(ControlOf(main, MainIds::quitButton));
        HWND box = WaitForMessageBox(setup.Id(), "終了確認");
        REQUIRE(box != nullptr);
        Answer(box, IDYES);
        REQUIRE(setup.WaitForExit());
        CheckOnlyAllowedDifferences(before, SnapshotOfMachine(), {});
    }
}

namespace {

// SETUP.EXE from the first screen to the restart offer, as a person answers.
void InstallSample(const SampleInstallation& sample, const std::string& drive, const std::string& temp)
{
    SetupProcess setup(drive + "SETUP.EXE", "", temp);
    REQUIRE(setup.Started());
    Press(ControlOf(ExpectMainScreen(setup, "セットアップ続行(&C)"), MainIds::actionButton));
    HWND main = ExpectMainScreen(setup, "セットアップ開始(&S)");
    CHECK(TextOf(ControlOf(main, MainIds::folderBox)) == sample.app);
    Press(ControlOf(main, MainIds::actionButton));
    CHECK(AnswerAndWait(ExpectBox(setup, sample.FolderQuestion()), IDYES));
    HWND disk = ExpectBox(setup, sample.DiskChange());
    CHECK(CopyDisk(SampleDisk(2), drive, {"SETUP.EXE"}).empty());
    CHECK(AnswerAndWait(disk, IDOK));
    CHECK(AnswerAndWait(ExpectBox(setup, sample.AssociationQuestion()), IDYES));
    // WINDOWS_REBOOT: the restart offer instead of the completion, declined.
    HWND offer = WaitForAnyBox(setup.Id(), 60000);
    REQUIRE(offer != nullptr);
    CHECK(TextOf(offer) != "警告");
    CHECK(AnswerAndWait(offer, IDNO));
    CHECK(AnswerAndWait(ExpectBox(setup, sample.RestartWarning()), IDOK));
    REQUIRE(setup.WaitForExit());
    REQUIRE(PathExists(sample.app + "UNSETUP.INI"));
}

// The Add/Remove entry's command, run exactly as stored: the uninstall
// screen, the start button, Yes for the shared component that nothing counts
// any more, and OK at the end.
void UninstallSample(const SampleInstallation& sample, const std::string& temp)
{
    const std::string command = StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "UninstallString");
    CHECK(command == sample.uninstaller + " \"" + sample.app + "UNSETUP.INI\"");
    SetupProcess uninstall(ExactCommandLine{command}, temp);
    REQUIRE(uninstall.Started());
    HWND main = ExpectMainScreen(uninstall, "アンセットアップ開始(&S)");
    CHECK(TextOf(main) == "Orvane サンプルビューアの削除");
    Press(ControlOf(main, MainIds::actionButton));
    HWND dialog = nullptr;
    REQUIRE(WaitUntil([&] { return (dialog = FindWindowOf(uninstall.Id(), "TfrmCustomDlg")) != nullptr; }));
    CHECK(TextOf(ControlOf(dialog, SharedFileDialogIds::messageLabel)).rfind(sample.component + "\r\r", 0) == 0);
    Press(ControlOf(dialog, SharedFileDialogIds::yesButton));
    CHECK(AnswerAndWait(ExpectBox(uninstall, {"完了", "アンセットアップを完了しました．"}), IDOK));
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
    const SampleInstallation sample;
    sample.RemoveTraces();
    ScratchFolder drive("rt-drive");
    ScratchFolder temp("rt-tmp");
    REQUIRE(CopyDisk(SampleDisk(1), drive.Path()).empty());
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
    std::vector<AllowedDifference> allowed = sample.KeptOnPurpose();
    allowed.push_back({temp.Path() + "OVTMP*", "the work folder of a run still open"});
    allowed.push_back({drive.Path() + "*", "the distribution's drive: disk 2 put in, the script's option set"});
    CheckOnlyAllowedDifferences(before, after, allowed);
    // Allowed in general, but this sample's record removes them.
    CHECK_FALSE(PathExists(sample.iniFile));
    CHECK_FALSE(PathExists(sample.app));
    char folder[MAX_PATH] = {};
    GetPrivateProfileStringA("ORVSAMPLE", "Folder", "", folder, MAX_PATH, sample.setupFolderList.c_str());
    CHECK(std::string(folder).empty());
    sample.RemoveTraces();
}
