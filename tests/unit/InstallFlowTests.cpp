// The install's flow without any window: the engine on the recording
// stand-in for the person, checking what is asked and shown, in what order,
// and what ends up on disk.
#include <doctest/doctest.h>

#include "install/RunInstall.h"
#include "support/RecordingCallback.h"
#include "support/Scratch.h"
#include "support/TestRunState.h"
#include "support/Utf8.h"

#include <windows.h>

#include <algorithm>

namespace {

// The run state of a start-up on a distribution of the test's own, every
// folder the install may write to in a scratch folder; restored afterwards.
struct WindowlessRun {
    SavedRunState saved{TheRun};
    ScratchFolder distribution{"flow-dist"};
    ScratchFolder work{"flow-work"};
    ScratchFolder machine{"flow-win"};
    ScratchFolder target{"flow-app"};

    explicit WindowlessRun(const std::string& script)
    {
        TheRun.sourceFolder = distribution.Path();
        TheRun.workFolder = work.Path();
        TheRun.tempFolder = work.Path();
        TheRun.windowsFolder = machine.Path();
        TheRun.systemFolder = machine.Path();
        TheRun.scriptPath = work / "SETUP.INI";
        TheRun.setupSpeed = 1;
        // No record and no Add/Remove entry: nothing of the machine's own.
        TheRun.unSetupTitle = "Setup Only.";
        TheRun.programId.clear();
        WriteTextFile(TheRun.scriptPath, script);
    }
    ~WindowlessRun() { saved.Restore(TheRun); }
    WindowlessRun(const WindowlessRun&) = delete;
    WindowlessRun& operator=(const WindowlessRun&) = delete;
};

}  // namespace

TEST_CASE("an install without windows: the steps and questions in their order, and the files they leave")
{
    WindowlessRun run("[MakeFolder]\r\nFolder1=(App)DATA\r\n[CopyFile]\r\nFile1=(App)\\A.TXT\r\nFile2=(App)\\B.TXT\r\n"
                      "[Relate]\r\nName1=ovf,Orvane file\r\nFile1=open,(App)VIEW.EXE,%1,0\r\n");
    WriteTextFile(run.distribution / "A.TXT", "new!");
    WriteTextFile(run.distribution / "B.TXT", "bbbb");
    const std::string app = run.target.Path();
    WriteTextFile(app + "A.TXT", "old");
    RecordingCallback person;
    person.installChoices.setupFolder = app;
    person.Answer(false).Answer(false);  // keep A.TXT; no association

    const RunOutcome outcome = RunInstall(person, TheRun);

    CHECK(outcome.end == RunEnd::Completed);
    CHECK_FALSE(outcome.restartNeeded);
    const std::vector<std::string> expected = {
        "TakeInstallChoices",
        "RunStarting Install",
        "Status InstallStarting",
        "Status ReadingInformation",
        "Status Measuring",
        "Status CheckingFreeSpace",
        "Status CheckingSetupFolder",
        "AllowAbort",
        "Status CreatingFolder " + app + "DATA\\",
        "ShowCopyProgress",
        "Status Copying " + app + "A.TXT",
        "Overwrite " + app + "A.TXT -> no",
        "Status Copying " + app + "B.TXT",
        "HideCopyProgress",
        "Status Associating",
        "Associate ovf " + app + "VIEW.EXE -> no",
        "Status UpdatingRecord",
        "ForbidAbort",
        "InstallCompleted",
        "FinishRun",
    };
    for (size_t n = 0; n < std::max(person.calls.size(), expected.size()); ++n) {
        CAPTURE(n);
        CHECK(Utf8(n < person.calls.size() ? person.calls[n] : "") == Utf8(n < expected.size() ? expected[n] : ""));
    }
    REQUIRE(person.progress.size() == 2);
    CHECK(person.progress[0].percent == 50);
    CHECK(person.progress[1].percent == 100);
    CHECK(person.progress[1].copied == 2);
    CHECK(person.progress[1].entries == 2);
    CHECK(ReadTextFile(app + "A.TXT") == "old");
    CHECK(ReadTextFile(app + "B.TXT") == "bbbb");
    CHECK(PathExists(app + "DATA"));
    CHECK_FALSE(PathExists(app + "UNSETUP.INI"));
}

TEST_CASE("an install without windows stops where the person declines, with nothing made")
{
    WindowlessRun run("[CopyFile]\r\nFile1=(App)\\A.TXT\r\n");
    WriteTextFile(run.distribution / "A.TXT", "a");
    const std::string app = run.target / "NEW\\";
    RecordingCallback person;
    person.installChoices.setupFolder = app;
    person.Answer(false);

    CHECK(RunInstall(person, TheRun).end == RunEnd::Cancelled);

    CHECK(person.calls.back() == "Abandon Declined");
    CHECK(person.calls[person.calls.size() - 2] == "CreateSetupFolder " + app + " -> no");
    CHECK_FALSE(PathExists(app));
}

TEST_CASE("how an install without windows ends: with failures, or cancelled at the first poll")
{
    WindowlessRun run("[CopyFile]\r\nFile1=(App)\\MISSING.TXT\r\n");
    RecordingCallback person;
    person.installChoices.setupFolder = run.target.Path();
    SUBCASE("a missing source completes with failures, the report offered and shown")
    {
        CHECK(RunInstall(person, TheRun).end == RunEnd::CompletedWithFailures);
        CHECK(person.report.find("<File> " + run.distribution / "MISSING.TXT") == 0);
    }
    SUBCASE("an abort at the first poll is the person's cancel, with nothing more shown")
    {
        person.AbortAfter(0);
        CHECK(RunInstall(person, TheRun).end == RunEnd::Cancelled);
        CHECK(person.calls.back() == "Status Measuring");
    }
}

TEST_CASE("an INI file the script names without a folder is refused, not written into the machine's Windows folder")
{
    // The system's profile functions take such a name as a file of the
    // Windows folder of this machine, not of the run's.
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string stray = std::string(windows) + "\\ORVFLOW.INI";
    DeleteFileA(stray.c_str());
    WindowlessRun run("[IniFile]\r\nData1=S,K,V,ORVFLOW.INI\r\nData2=S,K,V,(App)\\GOOD.INI\r\n");
    const std::string app = run.target.Path();
    RecordingCallback person;
    person.installChoices.setupFolder = app;

    CHECK(RunInstall(person, TheRun).end == RunEnd::CompletedWithFailures);

    CHECK_FALSE(PathExists(stray));
    CHECK(Utf8(person.report) == Utf8("<IniFile> ORVFLOW.INI\r\n絶対パスではないため，処理をスキップしました．\r\n\r\n"));
    CHECK(ReadTextFile(app + "GOOD.INI").find("K=V") != std::string::npos);
    DeleteFileA(stray.c_str());
}
