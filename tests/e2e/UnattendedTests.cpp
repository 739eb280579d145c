// SETUP.EXE run as an administrator's script runs it: a process with
// switches, waited for, judged by its exit code and its log. No test here
// touches a window; they only look whether one appeared.
#include <doctest/doctest.h>

#include "SampleRuns.h"
#include "ScreenExpectations.h"
#include "driver/Driver.h"
#include "script/ScopeExit.h"
#include "services/Journal.h"
#include "support/Fixtures.h"
#include "support/PendingRenames.h"
#include "support/Scratch.h"
#include "support/ShellLinks.h"
#include "windows/ControlIds.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>


TEST_CASE("unattended: the sample installs silently as the interactive install leaves it, and its quiet uninstall removes it")
{
    REQUIRE_MESSAGE(PathExists(SampleDisk(1) + "SETUP.EXE"), "the sample is laid out by tools/layout-sample.sh");
    const SampleRemoved removed;
    const SampleInstallation& sample = removed.sample;
    // The interactive reference from one drive; the unattended run from the
    // folders orvauthor lays out, DISK1 and DISK2 side by side.
    ScratchFolder drive("ua-drive");
    ScratchFolder layout("ua-layout");
    ScratchFolder temp("ua-tmp");
    ScratchFolder logs("ua-logs");
    REQUIRE(CopyDisk(SampleDisk(1), drive.Path()).empty());
    REQUIRE(CreateDirectoryA((layout / "DISK1").c_str(), nullptr));
    REQUIRE(CreateDirectoryA((layout / "DISK2").c_str(), nullptr));
    REQUIRE(CopyDisk(SampleDisk(1), layout / "DISK1\\").empty());
    REQUIRE(CopyDisk(SampleDisk(2), layout / "DISK2\\").empty());
    const std::vector<AllowedDifference> runFolders = {
        {drive.Path() + "*", "the interactive run's drive, disk 2 put in"},
        {layout.Path() + "*", "the laid-out distribution"},
        {temp.Path() + "*", "the work folders"},
        {logs.Path() + "*", "the logs"},
    };

    const MachineState before = SnapshotOfMachine();
    InstallSample(sample, drive.Path(), temp.Path());
    const MachineState interactive = SnapshotOfMachine();
    std::vector<LinkFields> interactiveLinks;
    for (const std::string& link : sample.links) interactiveLinks.push_back(ReadLink(link));
    UninstallSample(sample, temp.Path());
    sample.RemoveTraces();

    // "(Prg)" as in a script's default folder; /NORESTART since the sample
    // asks for a restart, which would end the Wine session.
    const std::string log = logs / "install.log";
    SetupProcess setup(ExactCommandLine{Quoted(layout / "DISK1\\SETUP.EXE") +
                                        " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /DIR=\"(Prg)\\Orvane Sample\" /LOG=" +
                                        Quoted(log)},
                       temp.Path());
    const Sightings seen = RunToEnd(setup);
    CHECK_FALSE(seen.anyWindow);
    CHECK(setup.ExitCode() == 3010);  // completed, restart needed and not done
    // A shortcut file holds its target's creation time, which no two
    // installs share: the shortcuts are compared by what they lead to.
    std::vector<AllowedDifference> sameInstall = runFolders;
    sameInstall.push_back({"C:\\users\\*.lnk", "a shortcut: compared by its fields below"});
    // The repair command runs the distribution the install came from.
    sameInstall.push_back({"HKLM\\" + sample.entryKey + "\\|RepairString", "the distribution's folder: another one"});
    CheckOnlyAllowedDifferences(interactive, SnapshotOfMachine(), sameInstall);
    for (size_t n = 0; n < sample.links.size(); ++n) {
        CAPTURE(Utf8(sample.links[n]));
        const LinkFields fields = ReadLink(sample.links[n]);
        CHECK(fields.path == interactiveLinks[n].path);
        CHECK(fields.workingFolder == interactiveLinks[n].workingFolder);
        CHECK(fields.arguments == interactiveLinks[n].arguments);
    }

    const std::vector<std::string> lines = LogLines(log);
    REQUIRE_FALSE(lines.empty());
    CHECK(lines.back() == "Exit code: 3010");
    CHECK(HasLine(lines, Utf8("Disk 2: " + layout.Path() + "DISK2\\")));
    CHECK(HasLine(lines, Utf8("Copied: " + sample.app + "DATA\\表示\\見本.TXT (41 bytes)")));
    CHECK(HasLine(lines, "Restart needed; not started (/NORESTART)"));

    // /SILENT, a reinstall over it with the next version: the progress
    // window is there to watch, no box ever comes, and the entry tells the
    // new version.
    const std::string script = layout / "DISK1\\SETUP.INI";
    REQUIRE(ReplaceScriptLine(script, "Version=1.0", "Version=1.1"));
    SetupProcess watched(ExactCommandLine{Quoted(layout / "DISK1\\SETUP.EXE") +
                                          " /SILENT /SUPPRESSMSGBOXES /NORESTART"},
                         temp.Path());
    const Sightings silent = RunToEnd(watched);
    CHECK(silent.progressWindow);
    CHECK_FALSE(silent.messageBox);
    CHECK(watched.ExitCode() == 3010);
    CHECK(StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "DisplayVersion") == "1.1");

    // The Add/Remove entry's quiet command, exactly as stored. The shared
    // component that nothing counts any more is kept: the unattended answer.
    const std::string quiet = StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "QuietUninstallString");
    CHECK(quiet == sample.uninstaller + " \"" + sample.app + "UNSETUP.INI\" /VERYSILENT /SUPPRESSMSGBOXES /NORESTART");
    SetupProcess uninstall(ExactCommandLine{quiet}, temp.Path());
    CHECK_FALSE(RunToEnd(uninstall).anyWindow);
    CHECK(uninstall.ExitCode() == 0);
    std::vector<AllowedDifference> allowed = sample.KeptOnPurpose();
    allowed.insert(allowed.end(), runFolders.begin(), runFolders.end());
    allowed.push_back({sample.component, "the shared component nothing counts: kept by the unattended answer"});
    allowed.push_back({"HKCU\\Software\\Orvane\\SampleControl\\*", "the kept component's own registration"});
    allowed.push_back({"HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs\\|" + sample.component,
                       "every install raises the component's count, the reinstall too; one uninstall lowers it once"});
    CheckOnlyAllowedDifferences(before, SnapshotOfMachine(), allowed);
    CHECK_FALSE(PathExists(sample.app));
}

namespace {

// A small distribution of the test's own whose script installs into a
// scratch folder and writes no record ("Setup Only."), so that a run leaves
// nothing but that folder and the shared uninstaller.
struct SmallDistribution {
    ScratchFolder root{"ua-small"};
    ScratchFolder temp{"ua-smalltmp"};
    std::string disk1 = root / "DISK1\\";
    std::string app = root / "App\\";
    std::string log = root / "run.log";
    std::string uninstaller = WindowsFolder() + "UNOVSET.EXE";
    bool uninstallerBefore = PathExists(uninstaller);

    SmallDistribution()
    {
        REQUIRE(CreateDirectoryA(disk1.c_str(), nullptr));
        REQUIRE(CopyFixture(ProgramFolder() + "SETUP.EXE", disk1 + "SETUP.EXE"));
    }
    ~SmallDistribution()
    {
        if (!uninstallerBefore) DeleteFileA(uninstaller.c_str());
    }

    // [CopyFile] entries as the script writes them after "(App)".
    void Script(const std::vector<std::string>& entries) const
    {
        std::string script = "[Title]\r\nUnSetup=Setup Only.\r\n[DefaultFolder]\r\nFolder=" + app + "\r\n[CopyFile]\r\n";
        for (size_t n = 0; n < entries.size(); ++n) script += "File" + std::to_string(n + 1) + "=" + entries[n] + "\r\n";
        WriteTextFile(disk1 + "SETUP.INI", script);
    }

    int Run(const std::string& switches, Sightings* seen = nullptr) const
    {
        return RunLoggingTo(log, switches, seen);
    }
    int RunLoggingTo(const std::string& logFile, const std::string& switches, Sightings* seen = nullptr) const
    {
        SetupProcess setup(ExactCommandLine{Quoted(disk1 + "SETUP.EXE") + " " + switches + " /LOG=" + Quoted(logFile)},
                           temp.Path());
        const Sightings sightings = RunToEnd(setup);
        if (seen != nullptr) *seen = sightings;
        return static_cast<int>(setup.ExitCode());
    }
};

}  // namespace

TEST_CASE("unattended exit codes: each way a run ends, with the log's word for it")
{
    SmallDistribution dist;
    WriteTextFile(dist.disk1 + "A.DAT", "first file");

    SUBCASE("0: completed")
    {
        dist.Script({"(App)A.DAT"});
        CHECK(dist.Run("/S") == 0);
        CHECK(ReadTextFile(dist.app + "A.DAT") == "first file");
        CHECK(LogLines(dist.log).back() == "Exit code: 0");
    }
    SUBCASE("87: a switch that is not understood; nothing is done")
    {
        dist.Script({"(App)A.DAT"});
        CHECK(dist.Run("/VERYSILENT /SUPPRESSMSGBOXES /QUIET") == 87);
        CHECK_FALSE(PathExists(dist.app));
        const std::vector<std::string> lines = LogLines(dist.log);
        CHECK(HasLine(lines, "Error: the command line is not understood at /QUIET"));
        CHECK(lines.back() == "Exit code: 87");
    }
    SUBCASE("1618: another copy is running, in this logon session or any other")
    {
        dist.Script({"(App)A.DAT"});
        KernelHandle held(CreateMutexA(nullptr, FALSE, "Global\\ORVSETUP"));
        REQUIRE(held);
        CHECK(dist.Run("/S") == 1618);
        CHECK_FALSE(PathExists(dist.app));
    }
    SUBCASE("1618: the journal in the Windows folder is a live run's, which is left as it is")
    {
        dist.Script({"(App)A.DAT"});
        // This test is the live run: its process and start time.
        FILETIME created{}, exited{}, kernel{}, user{};
        REQUIRE(GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user));
        const std::string start =
            std::to_string((static_cast<uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime);
        JournalSeal seal;
        std::string live;
        for (const std::string& line : {std::string("OrvaneJournal 2"),
                                         "run\t" + std::to_string(GetCurrentProcessId()) + "\t" + start + "\t" + start,
                                         "file\t" + dist.disk1 + "A.DAT"})
            live += seal.Sealed(line) + "\r\n";
        const std::string journal = WindowsFolder() + "ORVSETUP.JNL";
        WriteTextFile(journal, live);
        const ScopeExit removeJournal([&] { DeleteFileA(journal.c_str()); });
        CHECK(dist.Run("/S") == 1618);
        CHECK(ReadTextFile(journal) == live);
        CHECK(ReadTextFile(dist.disk1 + "A.DAT") == "first file");
        CHECK_FALSE(PathExists(dist.app));
        CHECK(HasLine(LogLines(dist.log), Utf8("Error: the journal " + journal + " belongs to a run that is still going on "
                                               "(process " + std::to_string(GetCurrentProcessId()) + ")")));
    }
    SUBCASE("1603: no journal can be made, so nothing is changed")
    {
        dist.Script({"(App)A.DAT"});
        // A folder where the journal's file would go.
        const std::string journal = WindowsFolder() + "ORVSETUP.JNL";
        REQUIRE(CreateDirectoryA(journal.c_str(), nullptr));
        const ScopeExit removeFolder([&] { RemoveDirectoryA(journal.c_str()); });
        CHECK(dist.Run("/S") == 1603);
        CHECK_FALSE(PathExists(dist.app));
        CHECK(HasLine(LogLines(dist.log), Utf8("Error: no journal could be made (" + journal + "): nothing was "
                                               "changed, since a failed install could not be undone")));
    }
    SUBCASE("1603: the next disk is not where the layout puts it")
    {
        dist.Script({"(App)A.DAT", "(Dch)(App)B.DAT"});
        CHECK(dist.Run("/S") == 1603);
        CHECK(HasLine(LogLines(dist.log), Utf8("Error: disk 2 is not in " + dist.root.Path() + "DISK2\\")));
    }
    SUBCASE("1603: a compressed file that is damaged, and the install undone")
    {
        // A compressed file cut short: its header promises more than it holds.
        const std::string whole = ReadTextFile(SampleDisk(1) + "MANUAL.TX_");
        WriteTextFile(dist.disk1 + "MANUAL.TX_", whole.substr(0, whole.size() / 2));
        dist.Script({"(App)A.DAT", "(App)MANUAL.TX_"});
        CHECK(dist.Run("/S") == 1603);
        CHECK_FALSE(PathExists(dist.app + "A.DAT"));
        CHECK_FALSE(PathExists(dist.app + "MANUAL.TXT"));
        const std::vector<std::string> lines = LogLines(dist.log);
        CHECK(HasLine(lines, Utf8("Not expanded (damaged compressed file): " + dist.disk1 + "MANUAL.TX_")));
        CHECK(HasLine(lines, Utf8("Undone: file removed: " + dist.app + "A.DAT")));
        CHECK(lines.back() == "Exit code: 1603");
    }
    SUBCASE("1603: a log that cannot be opened is in the failure report, so the install is undone")
    {
        dist.Script({"(App)A.DAT"});
        CHECK(dist.RunLoggingTo(dist.root / "no such folder\\run.log", "/S") == 1603);
        CHECK_FALSE(PathExists(dist.app + "A.DAT"));
    }
    SUBCASE("1603: a question without /SUPPRESSMSGBOXES fails the run instead of waiting")
    {
        dist.Script({"(App)A.DAT"});
        Sightings seen;
        CHECK(dist.Run("/VERYSILENT", &seen) == 1603);
        CHECK_FALSE(seen.anyWindow);
        CHECK_FALSE(PathExists(dist.app));  // the folder question had no answer
    }
    RemoveTree(dist.app);
}

TEST_CASE("files in use: the install replaces and the uninstall removes them when Windows restarts")
{
    // The test is the other program: it holds the installed file open
    // without sharing while SETUP.EXE and then the uninstaller run. Wine's
    // restart processing stands in for the restart.
    SmallDistribution dist;
    const PendingRenamesRestored restored;
    ClearPendingRenames();
    const std::string title = "Orvane InUse Test";
    WriteTextFile(dist.disk1 + "A.DAT", "the new file");
    WriteTextFile(dist.disk1 + "SETUP.INI", "[Title]\r\nUnSetup=" + title + "\r\n[DefaultFolder]\r\nFolder=" +
                                                dist.app + "\r\n[CopyFile]\r\nFile1=(App)A.DAT\r\n");
    REQUIRE(CreateDirectoryA(dist.app.c_str(), nullptr));
    WriteTextFile(dist.app + "A.DAT", "the old file");
    {
        // Older than the distribution's copy, which must replace it.
        const FILETIME old{0, 0x01000000};
        FileHandle stamp(CreateFileA((dist.app + "A.DAT").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                     0, nullptr));
        REQUIRE(stamp);
        REQUIRE(SetFileTime(stamp.Get(), nullptr, nullptr, &old));
    }
    {
        FileHandle held(CreateFileA((dist.app + "A.DAT").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        REQUIRE(held);
        CHECK(dist.Run("/S /NORESTART") == 3010);
    }
    CHECK(ReadTextFile(dist.app + "A.DAT") == "the old file");
    const std::vector<std::string> pending = PendingRenames();
    REQUIRE(pending.size() == 2);
    CHECK(ReadTextFile(PendingRenamePath(pending[0])) == "the new file");
    CHECK(Utf8(pending[1]) == Utf8("!\\??\\" + dist.app + "A.DAT"));
    const std::vector<std::string> installLines = LogLines(dist.log);
    CHECK(std::any_of(installLines.begin(), installLines.end(), [&](const std::string& line) {
        return line.rfind(Utf8("In use, replaced at restart: " + dist.app + "A.DAT"), 0) == 0;
    }));
    CHECK(installLines.back() == "Exit code: 3010");
    REQUIRE(RunRestartProcessing());
    CHECK(ReadTextFile(dist.app + "A.DAT") == "the new file");
    CHECK(PendingRenames().empty());

    const std::string record = dist.app + "UNSETUP.INI";
    REQUIRE(PathExists(record));
    const std::string log = dist.root / "uninstall.log";
    const std::string uninstall = Quoted(dist.uninstaller) + " " + Quoted(record);
    SUBCASE("the quiet uninstall: 3010, and the log says what waits")
    {
        FileHandle held(CreateFileA((dist.app + "A.DAT").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        REQUIRE(held);
        SetupProcess quiet(ExactCommandLine{uninstall + " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /LOG=" + Quoted(log)},
                           dist.temp.Path());
        CHECK_FALSE(RunToEnd(quiet).anyWindow);
        CHECK(quiet.ExitCode() == 3010);
        const std::vector<std::string> lines = LogLines(log);
        CHECK(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
            return line.rfind(Utf8("In use, removed at restart: " + dist.app + "A.DAT"), 0) == 0;
        }));
        CHECK(HasLine(lines, Utf8("Folder removed at restart: " + dist.app)));
        CHECK(lines.back() == "Exit code: 3010");
    }
    SUBCASE("a person's uninstall: the restart offer, declined, and the warning; 3010")
    {
        FileHandle held(CreateFileA((dist.app + "A.DAT").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        REQUIRE(held);
        SetupProcess person(ExactCommandLine{uninstall}, dist.temp.Path());
        REQUIRE(person.Started());
        Press(ControlOf(ExpectMainScreen(person, "アンセットアップ開始(&S)"), MainIds::actionButton));
        CHECK(AnswerAndWait(ExpectBox(person, {"完了", "アンセットアップを完了しました．"}), IDOK));
        HWND offer = WaitForAnyBox(person.Id(), 60000);
        REQUIRE(offer != nullptr);
        CHECK(TextOf(offer) != "警告");
        CHECK(AnswerAndWait(offer, IDNO));
        CHECK(AnswerAndWait(ExpectBox(person, {"警告", "Windowsを再起動すると，アンセットアップは完了します．"}), IDOK));
        REQUIRE(person.WaitForExit());
        CHECK(person.ExitCode() == 3010);
    }
    // Everything else is gone; the held file and its folder wait.
    CHECK(PathExists(dist.app + "A.DAT"));
    CHECK_FALSE(PathExists(record));
    REQUIRE(RunRestartProcessing());
    CHECK_FALSE(PathExists(dist.app + "A.DAT"));
    CHECK_FALSE(PathExists(dist.app));
}
