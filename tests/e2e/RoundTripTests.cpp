// Round trips on the whole test machine: its C: drive and registry are
// snapshotted, SETUP.EXE runs as its own process driven as a person would,
// and the machine afterwards is compared with the snapshot. Only the
// differences named in the allow-lists below may remain.
#include <doctest/doctest.h>

#include "MachineSnapshot.h"
#include "SampleDistribution.h"
#include "SampleRuns.h"
#include "ScreenExpectations.h"
#include "driver/Driver.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "support/ScratchRegistry.h"
#include "text/Unicode.h"
#include "windows/ControlIds.h"

#include <windows.h>

#include <string>
#include <vector>


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

// Sets the uninstall option of the distribution's script.
void SetUninstallOption(const std::string& drive, const std::string& option)
{
    REQUIRE(ReplaceScriptLine(drive + "SETUP.INI", "UnSetupOption=1,0,0,0", "UnSetupOption=" + option));
}

}  // namespace

TEST_CASE("the sample installs through SETUP.EXE and uninstalls through its Add/Remove entry, leaving the machine as it was")
{
    REQUIRE_MESSAGE(PathExists(SampleDisk(1) + "SETUP.EXE"), "the sample is laid out by tools/layout-sample.sh");
    const SampleRemoved removed;
    const SampleInstallation& sample = removed.sample;
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
        REQUIRE(CreateDirectoryW(WideFromShiftJis(sample.app + "ユーザー").c_str(), nullptr));
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
}
