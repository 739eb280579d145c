#include "SampleRuns.h"

#include <doctest/doctest.h>

#include "ScreenExpectations.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "windows/ControlIds.h"

void CheckOnlyAllowedDifferences(const MachineState& before, const MachineState& after,
                                 std::vector<AllowedDifference> allowed)
{
    allowed.insert(allowed.end(), WineSessionChurn.begin(), WineSessionChurn.end());
    const std::vector<Difference> left = Unexplained(Compare(before, after), allowed);
    INFO("differences not allowed:\n" << Describe(left));
    CHECK(left.empty());
}

void InstallSample(const SampleInstallation& sample, const std::string& drive, const std::string& temp)
{
    SetupProcess setup(drive + "SETUP.EXE", "", temp);
    REQUIRE(setup.Started());
    InstallSampleFromReadme(sample, setup, drive);
}

void InstallSampleFromReadme(const SampleInstallation& sample, SetupProcess& setup, const std::string& drive)
{
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
    CHECK(setup.ExitCode() == 3010);  // completed; the restart it needs not done
    REQUIRE(PathExists(sample.app + "UNSETUP.INI"));
}

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

Sightings RunToEnd(SetupProcess& setup, DWORD timeout)
{
    Sightings seen;
    REQUIRE(setup.Started());
    const bool ended = WaitUntil(
        [&] {
            seen.anyWindow = seen.anyWindow || HasVisibleWindow(setup.Id());
            seen.progressWindow = seen.progressWindow || FindWindowOf(setup.Id(), WindowClassNames::ProgressWindow);
            seen.messageBox = seen.messageBox || FindWindowOf(setup.Id(), "#32770");
            return !setup.Running();
        },
        timeout);
    REQUIRE_MESSAGE(ended, "the unattended run did not end: " << VisibleWindows(setup.Id()));
    return seen;
}

std::vector<std::string> LogLines(const std::string& path)
{
    std::vector<std::string> lines;
    for (const std::string& line : NonBlankLines(ReadTextFile(path))) lines.push_back(line.substr(24));
    return lines;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& utf8)
{
    for (const std::string& line : lines)
        if (line == utf8) return true;
    return false;
}

LaidOutSample::LaidOutSample(const std::string& name)
    : layout(name + "-layout"), temp(name + "-tmp"), logs(name + "-logs")
{
    REQUIRE_MESSAGE(PathExists(SampleDisk(1) + "SETUP.EXE"), "the sample is laid out by tools/layout-sample.sh");
    sample.RemoveTraces();
    for (int n : {1, 2}) {
        REQUIRE(CreateDirectoryA(Disk(n).c_str(), nullptr));
        REQUIRE(CopyDisk(SampleDisk(n), Disk(n)).empty());
    }
}

DWORD LaidOutSample::InstallUnattended(const std::string& switches) const
{
    DeleteFileA(log.c_str());
    SetupProcess setup(ExactCommandLine{Quoted(Disk(1) + "SETUP.EXE") + " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART " +
                                        switches + " /LOG=" + Quoted(log)},
                       temp.Path());
    CHECK_FALSE(RunToEnd(setup).anyWindow);
    return setup.ExitCode();
}

std::vector<AllowedDifference> LaidOutSample::RunFolders() const
{
    return {{layout.Path() + "*", "the laid-out distribution"},
            {temp.Path() + "*", "the work folders"},
            {logs.Path() + "*", "the logs"}};
}

void LaidOutSample::CheckUndone(const std::vector<std::string>& lines) const
{
    CHECK(HasLine(lines, "Install undone"));
    CHECK(lines.back() == "Exit code: 1603");
    CHECK_FALSE(PathExists(sample.windows + "ORVSETUP.JNL"));
}
