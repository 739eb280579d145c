// The one-file installer that `orvauthor package` makes (tools/layout-sample.sh:
// build/sample/package/OrvaneSample.exe and the tiny build/sample/tiny/
// OrvaneTiny.exe) run as a person and as an administrator's script run it:
// the stub unpacks into its own temporary folder, SETUP.EXE runs from there
// with the stub's switches, its exit code comes back through the stub, and
// the folder is gone afterwards. A package cut short shows the stub's box
// (or nothing, silent) and ends with 1603 before SETUP.EXE ever starts.
#include <doctest/doctest.h>

#include "SampleDistribution.h"
#include "ScreenExpectations.h"
#include "driver/Driver.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "windows/ControlIds.h"

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

namespace {

std::string SamplePackage()
{
    return ProgramFolder() + "..\\sample\\package\\OrvaneSample.exe";
}

std::string TinyPackage()
{
    return ProgramFolder() + "..\\sample\\tiny\\OrvaneTiny.exe";
}

// The process that `parent` started (the stub's SETUP.EXE), or 0 while it
// has started none.
DWORD ChildNow(DWORD parent)
{
    // A failed snapshot is INVALID_HANDLE_VALUE, as a file handle's.
    const FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot.Get(), &entry); more; more = Process32Next(snapshot.Get(), &entry))
        if (entry.th32ParentProcessID == parent) return entry.th32ProcessID;
    return 0;
}

// The same, once there is one; 0 when none came in time.
DWORD ChildOf(DWORD parent)
{
    DWORD child = 0;
    WaitUntil([&] { return (child = ChildNow(parent)) != 0; });
    return child;
}

// The names in `folder` (with a trailing backslash) that start with `prefix`.
std::vector<std::string> EntriesStartingWith(const std::string& folder, const std::string& prefix)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    const FindHandle search(FindFirstFileA((folder + prefix + "*").c_str(), &found));
    if (!search) return names;
    do names.push_back(found.cFileName);
    while (FindNextFileA(search.Get(), &found));
    return names;
}

// Waits for the end of a run that nobody answers, noting whether any window
// of the stub or of the SETUP.EXE it started ever showed.
bool ShowedAnyWindow(SetupProcess& run)
{
    bool shown = false;
    DWORD child = 0;
    const bool ended = WaitUntil(
        [&] {
            if (child == 0) child = ChildNow(run.Id());
            shown = shown || HasVisibleWindow(run.Id()) || (child != 0 && HasVisibleWindow(child));
            return !run.Running();
        },
        120000);
    REQUIRE_MESSAGE(ended, "the package's run did not end: " << VisibleWindows(run.Id()));
    return shown;
}

// The package copied into `folder`, whole or cut off after half its bytes.
std::string CopyOfPackage(const std::string& package, const ScratchFolder& folder, bool cutInHalf)
{
    const std::string copy = folder / "Package.exe";
    const std::string bytes = ReadTextFile(package);
    REQUIRE(bytes.size() > 1000);
    WriteTextFile(copy, cutInHalf ? bytes.substr(0, bytes.size() / 2) : bytes);
    return copy;
}

// The sample's package copied into a download folder of the test's own,
// with the sample's traces removed before and after.
struct DownloadedSample {
    SampleInstallation sample;
    ScratchFolder download;
    ScratchFolder temp;
    std::string package;

    explicit DownloadedSample(const std::string& purpose) : download(purpose), temp(purpose + "tmp")
    {
        REQUIRE_MESSAGE(PathExists(SamplePackage()), "the package is made by tools/layout-sample.sh");
        sample.RemoveTraces();
        package = CopyOfPackage(SamplePackage(), download, false);
    }
    ~DownloadedSample() { sample.RemoveTraces(); }
    DownloadedSample(const DownloadedSample&) = delete;
    DownloadedSample& operator=(const DownloadedSample&) = delete;

    // The Add/Remove entry's quiet command, run to its end.
    void UninstallQuietly() const
    {
        const std::string quiet = StringValue(HKEY_LOCAL_MACHINE, sample.entryKey, "QuietUninstallString");
        SetupProcess uninstall(ExactCommandLine{quiet}, temp.Path());
        REQUIRE(uninstall.Started());
        REQUIRE(uninstall.WaitForExit(120000));
        CHECK(uninstall.ExitCode() == 0);
        CHECK_FALSE(PathExists(sample.app));
    }
};

}  // namespace

TEST_CASE("package: the sample's one-file installer installs as a person drives it, and leaves no unpacked files")
{
    const DownloadedSample downloaded("pkg-download");
    const SampleInstallation& sample = downloaded.sample;
    const ScratchFolder& temp = downloaded.temp;
    const std::string& package = downloaded.package;

    SUBCASE("to the restart offer, declined: 3010 comes through; the quiet uninstall takes it away")
    {
        SetupProcess run(ExactCommandLine{Quoted(package)}, temp.Path());
        REQUIRE(run.Started());
        const DWORD setup = ChildOf(run.Id());
        REQUIRE(setup != 0);
        // SETUP.EXE runs from the unpacked folder, which holds every file.
        const std::vector<std::string> unpacked = EntriesStartingWith(temp.Path(), "OVPKG");
        REQUIRE(unpacked.size() == 1);
        const std::string folder = temp / unpacked[0] + "\\";
        for (const char* name : {"SETUP.EXE", "SETUP.INI", "README.TXT", "SAMPLEVW.EX_", "MANUAL.TX_", "ORVSMPL.DLL",
                                 "SAMPLE.DAT", "見本.TXT", "SAMPLE2.DAT"})
            CHECK_MESSAGE(PathExists(folder + name), Utf8(name));

        Press(ControlOf(ExpectMainScreen(setup, "セットアップ続行(&C)"), MainIds::actionButton));
        HWND main = ExpectMainScreen(setup, "セットアップ開始(&S)");
        CHECK(TextOf(ControlOf(main, MainIds::folderBox)) == sample.app);
        Press(ControlOf(main, MainIds::actionButton));
        CHECK(AnswerAndWait(ExpectBox(setup, sample.FolderQuestion()), IDYES));
        // One folder, no disk to change: the next question is the association.
        CHECK(AnswerAndWait(ExpectBox(setup, sample.AssociationQuestion()), IDYES));
        HWND offer = WaitForAnyBox(setup, 60000);
        REQUIRE(offer != nullptr);
        CHECK(TextOf(offer) != "警告");
        CHECK(AnswerAndWait(offer, IDNO));
        CHECK(AnswerAndWait(ExpectBox(setup, sample.RestartWarning()), IDOK));
        REQUIRE(run.WaitForExit());
        CHECK(run.ExitCode() == 3010);
        CHECK(PathExists(sample.app + "DATA\\表示\\見本.TXT"));
        CHECK(PathExists(sample.app + "DATA\\SAMPLE2.DAT"));
        CHECK_FALSE(PathExists(folder));
        CHECK(EntriesStartingWith(temp.Path(), "OVPKG").empty());
        downloaded.UninstallQuietly();
    }
    SUBCASE("quit at the first screen: 1602 comes through")
    {
        SetupProcess run(ExactCommandLine{Quoted(package)}, temp.Path());
        REQUIRE(run.Started());
        const DWORD setup = ChildOf(run.Id());
        REQUIRE(setup != 0);
        Press(ControlOf(ExpectMainScreen(setup, "セットアップ続行(&C)"), MainIds::quitButton));
        HWND box = WaitForMessageBox(setup, "終了確認");
        REQUIRE(box != nullptr);
        Answer(box, IDYES);
        REQUIRE(run.WaitForExit());
        CHECK(run.ExitCode() == 1602);
        CHECK_FALSE(PathExists(sample.app));
        CHECK(EntriesStartingWith(temp.Path(), "OVPKG").empty());
    }
}

TEST_CASE("package: /VERYSILENT /SUPPRESSMSGBOXES /NORESTART installs the sample without a window; 3010 comes through")
{
    const DownloadedSample downloaded("pkg-quiet");
    const SampleInstallation& sample = downloaded.sample;
    SetupProcess run(ExactCommandLine{Quoted(downloaded.package) + " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART"},
                     downloaded.temp.Path());
    REQUIRE(run.Started());
    CHECK_FALSE(ShowedAnyWindow(run));
    CHECK(run.ExitCode() == 3010);
    CHECK(PathExists(sample.app + "SAMPLEVW.EXE"));
    CHECK(PathExists(sample.app + "DATA\\表示\\見本.TXT"));
    CHECK(PathExists(sample.app + "DATA\\SAMPLE2.DAT"));
    CHECK(EntriesStartingWith(downloaded.temp.Path(), "OVPKG").empty());
    downloaded.UninstallQuietly();
}

TEST_CASE("package: a completed run's 0 and a quoted /DIR= with a blank come through the stub unchanged")
{
    REQUIRE_MESSAGE(PathExists(TinyPackage()), "the package is made by tools/layout-sample.sh");
    ScratchFolder temp("pkg-tinytmp");
    ScratchFolder target("pkg-tiny");
    const std::string uninstaller = WindowsFolder() + "UNOVSET.EXE";
    const bool uninstallerBefore = PathExists(uninstaller);
    const std::string app = target / "Tiny App\\";

    SetupProcess run(ExactCommandLine{Quoted(TinyPackage()) + " /S /DIR=\"" + app + "\""}, temp.Path());
    REQUIRE(run.Started());
    CHECK_FALSE(ShowedAnyWindow(run));
    CHECK(run.ExitCode() == 0);
    CHECK(ReadTextFile(app + "TINY.TXT") == "Orvane Tiny\r\n");
    CHECK(EntriesStartingWith(temp.Path(), "OVPKG").empty());
    // "Setup Only." writes no record; the shared uninstaller is all it leaves.
    if (!uninstallerBefore) DeleteFileA(uninstaller.c_str());
}

TEST_CASE("package: a package cut short ends with 1603 before SETUP.EXE starts, with a box or silently")
{
    REQUIRE_MESSAGE(PathExists(SamplePackage()), "the package is made by tools/layout-sample.sh");
    ScratchFolder download("pkg-cut");
    ScratchFolder temp("pkg-cuttmp");
    const std::string package = CopyOfPackage(SamplePackage(), download, true);

    SUBCASE("started by a person: the stub's box")
    {
        SetupProcess run(ExactCommandLine{Quoted(package)}, temp.Path());
        REQUIRE(run.Started());
        HWND box = WaitForMessageBox(run.Id(), "セットアップ");
        REQUIRE_MESSAGE(box != nullptr, "no box; shown:\n" << VisibleWindows(run.Id()));
        CHECK(MessageBoxText(box) ==
              "このセットアッププログラムは壊れています．\r\n"
              "ダウンロードが途中で切れた可能性があります．\r\n"
              "もう一度ダウンロードしてください．");
        Answer(box, IDOK);
        REQUIRE(run.WaitForExit());
        CHECK(run.ExitCode() == 1603);
    }
    SUBCASE("/VERYSILENT: no window at all")
    {
        SetupProcess run(ExactCommandLine{Quoted(package) + " /verysilent /SUPPRESSMSGBOXES /NORESTART"},
                         temp.Path());
        REQUIRE(run.Started());
        CHECK_FALSE(ShowedAnyWindow(run));
        CHECK(run.ExitCode() == 1603);
    }
    // Nothing was unpacked, and SETUP.EXE made no work folder: it never ran.
    CHECK(EntriesStartingWith(temp.Path(), "OVPKG").empty());
    CHECK(EntriesStartingWith(temp.Path(), "OVTMP").empty());
    CHECK_FALSE(PathExists(SampleInstallation().app));
}
