// The sample's script at three versions over one another, as package
// managers and administrators run them: an upgrade goes where the installed
// version is, a downgrade changes nothing unless it is asked for, and a
// repair puts back what the distribution holds.
#include <doctest/doctest.h>

#include "SampleRuns.h"
#include "ScreenExpectations.h"
#include "script/ScopeExit.h"
#include "support/FileShapes.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string EntryValue(const LaidOutSample& laid, const std::string& name)
{
    return StringValue(HKEY_LOCAL_MACHINE, laid.sample.entryKey, name);
}

// The script's version line, byte for byte.
void SetVersion(const LaidOutSample& laid, const std::string& from, const std::string& to)
{
    REQUIRE(ReplaceScriptLine(laid.Disk(1) + "SETUP.INI", "Version=" + from, "Version=" + to));
}

}  // namespace

TEST_CASE("versions: an upgrade goes into the installed folder, a downgrade changes nothing unless allowed, a repair puts files back")
{
    LaidOutSample laid("versions");
    const SampleInstallation& sample = laid.sample;
    // Not the script's folder: only the installed product can lead there.
    const std::string folder = sample.app.substr(0, sample.app.size() - 1) + " 1.0\\";
    const ScopeExit removeFolder([&] { RemoveTree(folder); });

    REQUIRE(laid.InstallUnattended("/DIR=" + Quoted(folder)) == 3010);
    REQUIRE(EntryValue(laid, "DisplayVersion") == "1.0");
    // OVSET98.INI no longer remembers the folder: the Add/Remove entry is
    // what tells where the product is.
    WritePrivateProfileStringA("ORVSAMPLE", nullptr, nullptr, sample.setupFolderList.c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, sample.setupFolderList.c_str());

    SetVersion(laid, "1.0", "1.1");
    CHECK(laid.InstallUnattended("") == 3010);
    std::vector<std::string> lines = LogLines(laid.log);
    CHECK(HasLine(lines, "Installed: version 1.0 in " + folder + "; this setup's version 1.1 is newer: an upgrade"));
    CHECK(HasLine(lines, "Setup folder: " + folder));
    CHECK(EntryValue(laid, "DisplayVersion") == "1.1");
    CHECK(EntryValue(laid, "InstallLocation") + "\\" == folder);
    CHECK_FALSE(PathExists(sample.app));

    // 1.0 over 1.1, unattended: nothing changes.
    SetVersion(laid, "1.1", "1.0");
    const MachineState upgraded = SnapshotOfMachine();
    CHECK(laid.InstallUnattended("") == 1638);
    lines = LogLines(laid.log);
    CHECK(HasLine(lines, "Error: version 1.1 is installed, which is newer than 1.0; nothing was changed "
                         "(/ALLOWDOWNGRADE installs the older one)"));
    CHECK(lines.back() == "Exit code: 1638");
    CheckOnlyAllowedDifferences(upgraded, SnapshotOfMachine(), laid.RunFolders());

    // The same for a person who answers No to the box naming both versions.
    {
        SetupProcess setup(laid.Disk(1) + "SETUP.EXE", "", laid.temp.Path());
        REQUIRE(setup.Started());
        HWND box = ExpectBox(setup, {"セットアップ", "このプログラムの新しいバージョン（1.1）が，\rすでにセットアップされています．\r\r"
                                                     "古いバージョン（1.0）をセットアップしますか？\r"
                                                     "「いいえ」を選択すると，何も変更せずに終了します．"});
        CHECK(AnswerAndWait(box, IDNO));
        REQUIRE(setup.WaitForExit());
        CHECK(setup.ExitCode() == 1638);
        CheckOnlyAllowedDifferences(upgraded, SnapshotOfMachine(), laid.RunFolders());
    }

    CHECK(laid.InstallUnattended("/ALLOWDOWNGRADE") == 3010);
    CHECK(EntryValue(laid, "DisplayVersion") == "1.0");
    CHECK(EntryValue(laid, "InstallLocation") + "\\" == folder);

    // A file deleted by hand, and one damaged with a newer time stamp, which
    // the overwrite rule alone would keep.
    const std::string viewer = ReadTextFile(folder + "SAMPLEVW.EXE");
    const std::string manual = ReadTextFile(folder + "MANUAL.TXT");
    REQUIRE(DeleteFileA((folder + "SAMPLEVW.EXE").c_str()));
    WriteTextFile(folder + "MANUAL.TXT", "damaged");
    REQUIRE(SetWriteTime(folder + "MANUAL.TXT", MomentFromNow(10 * 24 * 3600)));
    CHECK(laid.InstallUnattended("/REPAIR") == 3010);
    CHECK(ReadTextFile(folder + "SAMPLEVW.EXE") == viewer);
    CHECK(ReadTextFile(folder + "MANUAL.TXT") == manual);
    CHECK(EntryValue(laid, "InstallLocation") + "\\" == folder);

    // The quiet command of the entry still removes it all.
    SetupProcess uninstall(ExactCommandLine{EntryValue(laid, "QuietUninstallString")}, laid.temp.Path());
    CHECK_FALSE(RunToEnd(uninstall).anyWindow);
    CHECK(uninstall.ExitCode() == 0);
    CHECK_FALSE(PathExists(folder + "SAMPLEVW.EXE"));
}
