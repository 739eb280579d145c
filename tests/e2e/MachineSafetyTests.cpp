// What an install and its uninstall must leave alone, driven as an
// administrator's script runs SETUP.EXE: what a link in the setup folder
// leads to, the places of the system and the user, the machine when the
// script cannot be read, another program's folder; and an Add/Remove entry
// whose folder is gone, which must not stay for ever.
#include <doctest/doctest.h>

#include "SampleRuns.h"
#include "driver/Driver.h"
#include "script/PathParts.h"
#include "support/Fixtures.h"
#include "support/FolderLinks.h"
#include "support/FolderWalk.h"
#include "support/Scratch.h"
#include "support/Utf8.h"
#include "text/Unicode.h"
#include "windows/ControlIds.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr const char* UninstallList = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// A distribution of the test's own, whose install writes a record and an
// Add/Remove entry under `key`; the entry and a new UNOVSET.EXE go again.
struct Product {
    explicit Product(std::string keyName) : key(std::move(keyName)), entry(UninstallList + key)
    {
        REQUIRE(CreateDirectoryA(disk.c_str(), nullptr));
        REQUIRE(CopyFixture(ProgramFolder() + "SETUP.EXE", disk + "SETUP.EXE"));
        WriteTextFile(disk + key + ".DAT", "the file of " + key);
    }
    ~Product()
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, entry.c_str());
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, entry.c_str());
        if (!uninstallerBefore) DeleteFileA(uninstaller.c_str());
    }
    Product(const Product&) = delete;
    Product& operator=(const Product&) = delete;

    // The script: the program's title and key, its folder, its one file,
    // and `more` (sections) after them.
    void Script(const std::string& folder, const std::string& more = "") const
    {
        WriteTextFile(disk + "SETUP.INI", "[Title]\r\nUnSetup=" + key + " removal\r\nUnSetupKey=" + key +
                                              "\r\nUnSetupDisplay=" + key + " display\r\n[DefaultFolder]\r\nFolder=" +
                                              folder + "\r\n[CopyFile]\r\nFile1=(App)" + key + ".DAT\r\n" + more);
    }
    // SETUP.EXE /S with `switches`, logging to `log`: the exit code.
    int Install(const std::string& log, const std::string& switches = "") const
    {
        return Run(Quoted(disk + "SETUP.EXE") + " /S /NORESTART " + switches, log);
    }
    // The entry's quiet uninstall command, exactly as stored.
    int Uninstall(const std::string& log) const
    {
        const std::string quiet = StringValue(HKEY_LOCAL_MACHINE, entry, "QuietUninstallString");
        REQUIRE(quiet != "<none>");
        return Run(quiet, log);
    }
    int Run(const std::string& command, const std::string& log) const
    {
        SetupProcess setup(ExactCommandLine{command + " /LOG=" + Quoted(log)}, temp.Path());
        CHECK_FALSE(RunToEnd(setup).anyWindow);
        return static_cast<int>(setup.ExitCode());
    }
    bool Registered() const { return StringValue(HKEY_LOCAL_MACHINE, entry, "UninstallString") != "<none>"; }

    ScratchFolder root{"safety"};
    ScratchFolder temp{"safety-tmp"};
    std::string disk = root / "DISK1\\";
    std::string key;
    std::string entry;
    std::string uninstaller = WindowsFolder() + "UNOVSET.EXE";
    bool uninstallerBefore = PathExists(uninstaller);
};

// Every file below `folder` with its bytes, every folder with "<folder>".
std::map<std::string, std::string> ContentsOf(const std::string& folder)
{
    std::map<std::string, std::string> contents;
    WalkFolderTree(WideFromShiftJis(folder), 20, [&](const std::wstring& path, const WIN32_FIND_DATAW& data) {
        const std::string name = ShiftJisFromWideForDisplay(path);
        contents[name] = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? "<folder>" : ReadTextFile(name);
        return true;
    });
    return contents;
}

bool HasLineStarting(const std::vector<std::string>& lines, const std::string& utf8)
{
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(utf8, 0) == 0; });
}

}  // namespace

TEST_CASE("a setup folder holding links: delete-all and the *.INI option leave what the links lead to, byte for byte")
{
    // The user's documents, which a link in the setup folder leads to (a
    // junction or a folder symbolic link on Windows, a Unix symbolic link
    // here), with an empty folder that Wine would remove for a link to it.
    ScratchFolder outside("safety-docs");
    WriteTextFile(outside / "REPORT.DOC", "the user's report");
    WriteTextFile(outside / "WIN.INI", "[windows]\r\nload=\r\n");
    REQUIRE(CreateDirectoryA((outside / "SUB").c_str(), nullptr));
    WriteTextFile(outside / "SUB\\DEEP.INI", "[deep]");
    REQUIRE(CreateDirectoryA((outside / "EMPTY").c_str(), nullptr));
    const std::map<std::string, std::string> before = ContentsOf(outside.Path());

    Product product("OrvaneLinkProbe");
    const std::string app = product.root / "App\\";  // the install makes it
    std::string option;
    SUBCASE("delete-all") { option = "DeleteAll"; }
    SUBCASE("the *.INI option") { option = "1,0,0,0"; }
    CAPTURE(option);
    product.Script(app, "[MakeFolder]\r\nFolder1=(App)CONF\r\n[Extend]\r\nUnSetupOption=" + option + "\r\n");
    REQUIRE(product.Install(product.root / "install.log") == 0);
    WriteTextFile(app + "SETTINGS.INI", "the application's own");
    // A link beside the files, the made folder CONF (a [DeleteFolder] entry
    // the *.INI option clears) turned into one, and one to an empty folder.
    REQUIRE(RemoveDirectoryA((app + "CONF").c_str()));
    const FolderLink docs(app + "docs", outside.Path());
    const FolderLink conf(app + "CONF", outside.Path());
    const FolderLink empty(app + "empty", outside / "EMPTY\\");
    REQUIRE((docs.Made() && conf.Made() && empty.Made()));

    const std::string log = product.root / "uninstall.log";
    // The links keep the setup folder, which the failure report names.
    CHECK(product.Uninstall(log) == 1603);
    CHECK(ContentsOf(outside.Path()) == before);
    CHECK_FALSE(PathExists(app + product.key + ".DAT"));
    CHECK_FALSE(PathExists(app + "SETTINGS.INI"));
    CHECK_FALSE(product.Registered());
    const std::vector<std::string> lines = LogLines(log);
    CHECK(HasLineStarting(lines, Utf8("Refused: <Folder> " + app + "CONF\\: ")));
    CHECK(HasLineStarting(lines, Utf8("Setup folder not removed: " + app)));
}

TEST_CASE("/DIR= onto or into a place of the system or the user is refused, and nothing is made")
{
    Product product("OrvaneDirProbe");
    product.Script("(Prg)\\Orvane Dir Probe", "[MakeFolder]\r\nFolder1=(App)DATA\r\n[Extend]\r\nUnSetupOption=DeleteAll\r\n");
    const MachineState before = SnapshotOfMachine();
    const std::string windows = WithoutTrailingBackslash(WindowsFolder());
    const std::string folders[] = {
        SystemFolder() + "drivers\\etc", ShellFolder(CSIDL_MYPICTURES), ShellFolder(CSIDL_MYPICTURES) + "Probe",
        windows, "C:\\", windows + ".", "C:\\Program Files\\..\\" + FileNamePart(windows),
    };
    int run = 0;
    for (const std::string& folder : folders) {
        CAPTURE(folder);
        const std::string log = product.root / ("dir" + std::to_string(++run) + ".log");
        CHECK(product.Install(log, "/DIR=" + Quoted(folder)) == 1603);
        CHECK(HasLine(LogLines(log), Utf8("Error: no setup is possible in " + WithTrailingBackslash(folder) +
                                          ": it is a folder of the system or the user (a drive's root, the Windows "
                                          "or Program Files folder, the profile, AppData, the Start menu) or lies "
                                          "inside the Windows folder or a document folder")));
    }
    CheckOnlyAllowedDifferences(before, SnapshotOfMachine(),
                                {{product.root.Path() + "*", "the distribution and its logs"},
                                 {product.temp.Path() + "*", "the runs' work folders"}});
}

TEST_CASE("the sample's script saved as UTF-16 is refused before anything is made: 1603, and the fatal screen says why")
{
    REQUIRE_MESSAGE(PathExists(SampleDisk(1) + "SETUP.EXE"), "the sample is laid out by tools/layout-sample.sh");
    ScratchFolder layout("utf16-disk");
    ScratchFolder temp("utf16-tmp");
    REQUIRE(CopyDisk(SampleDisk(1), layout.Path()).empty());
    const std::wstring text = WideFromShiftJis(ReadTextFile(layout / "SETUP.INI"));
    std::string utf16 = "\xFF\xFE";
    utf16.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    WriteTextFile(layout / "SETUP.INI", utf16);
    const MachineState before = SnapshotOfMachine();

    const std::string log = layout / "install.log";
    SetupProcess unattended(ExactCommandLine{Quoted(layout / "SETUP.EXE") + " /S /NORESTART /LOG=" + Quoted(log)},
                            temp.Path());
    CHECK_FALSE(RunToEnd(unattended).anyWindow);
    CHECK(unattended.ExitCode() == 1603);
    CHECK(HasLine(LogLines(log), Utf8("Error: the setup script " + layout.Path() +
                                      "SETUP.INI cannot be read: it is saved as UTF-16; save it as Shift-JIS")));

    SetupProcess person(layout / "SETUP.EXE", "", temp.Path());
    HWND main = WaitForMainScreen(person.Id(), "セットアップ開始(&S)");
    REQUIRE(main != nullptr);
    CHECK(TextOf(ControlOf(main, MainIds::messageLabel)) ==
          "【致命的エラー  →  iniファイル読み込み失敗】\rSETUP.INIがUTF-16で保存されています．シフトJISで保存してください．\r\r"
          "セットアップ・アンセットアップ(アンインストール)は続行できません．");
    Press(ControlOf(main, MainIds::quitButton));
    REQUIRE(person.WaitForExit());
    CHECK(person.ExitCode() == 1603);
    CheckOnlyAllowedDifferences(before, SnapshotOfMachine(),
                                {{layout.Path() + "*", "the distribution and its log"},
                                 {temp.Path() + "*", "the runs' work folders"}});
}

TEST_CASE("a second program into another's folder is refused; the first one's uninstall then removes only its own")
{
    Product first("OrvaneProbeA");
    Product second("OrvaneProbeB");
    const std::string shared = first.root / "Shared\\";
    const std::string own = second.root / "OwnB\\";
    first.Script(shared);
    second.Script(shared);
    REQUIRE(first.Install(first.root / "a.log") == 0);

    const std::string refusedLog = second.root / "refused.log";
    CHECK(second.Install(refusedLog) == 1603);
    CHECK(HasLine(LogLines(refusedLog), Utf8("Error: no setup is possible in " + shared +
                                             ": another program is installed there (OrvaneProbeA display); choose a "
                                             "folder of its own")));
    CHECK_FALSE(PathExists(shared + "OrvaneProbeB.DAT"));
    CHECK_FALSE(second.Registered());
    CHECK(second.Install(second.root / "b.log", "/DIR=" + Quoted(own)) == 0);
    // A reinstall of the first one goes on as ever.
    CHECK(first.Install(first.root / "again.log") == 0);

    CHECK(first.Uninstall(first.root / "uninstall-a.log") == 0);
    CHECK_FALSE(PathExists(shared));
    CHECK_FALSE(first.Registered());
    CHECK(second.Registered());
    CHECK(ReadTextFile(own + "OrvaneProbeB.DAT") == "the file of OrvaneProbeB");
    CHECK(second.Uninstall(second.root / "uninstall-b.log") == 0);
    CHECK_FALSE(PathExists(own));
}

TEST_CASE("an Add/Remove entry whose folder was deleted by hand: its quiet command removes the entry and ends with 0")
{
    Product product("OrvaneOrphanProbe");
    const std::string app = product.root / "Gone\\";
    product.Script(app);
    REQUIRE(product.Install(product.root / "install.log") == 0);
    RemoveTree(app);

    const std::string log = product.root / "uninstall.log";
    CHECK(product.Uninstall(log) == 0);
    CHECK_FALSE(product.Registered());
    const std::vector<std::string> lines = LogLines(log);
    CHECK(HasLine(lines, Utf8("Orphaned Add/Remove entry removed: HKEY_LOCAL_MACHINE\\" + product.entry)));
    CHECK(lines.back() == "Exit code: 0");
}
