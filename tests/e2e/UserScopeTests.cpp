// An install for the current user only, run as an administrator's script
// runs it: /CURRENTUSER changes nothing outside the user's profile and
// HKEY_CURRENT_USER, its quiet uninstall takes it away again, /ALLUSERS of
// the same script is the machine install, and a user install that would
// need the machine is refused before anything is made.
#include <doctest/doctest.h>

#include "SampleRuns.h"
#include "ScreenExpectations.h"
#include "driver/Driver.h"
#include "windows/ControlIds.h"
#include "script/ScopeExit.h"
#include "services/Win32Files.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "support/Utf8.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr const char* EntryKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OrvaneUserScope";

// A distribution of the test's own that uses every part a user install
// moves: a default folder under Program Files, a file, an HKLM\Software
// value, an association, a [DeleteRegistry] key and an Add/Remove entry.
struct ScopeDistribution {
    ScratchFolder root{"us-dist"};
    ScratchFolder temp{"us-tmp"};
    std::string disk1 = root / "DISK1\\";
    std::string log = root / "run.log";

    ScopeDistribution()
    {
        REQUIRE(CreateDirectoryA(disk1.c_str(), nullptr));
        REQUIRE(CopyFixture(ProgramFolder() + "SETUP.EXE", disk1 + "SETUP.EXE"));
        WriteTextFile(disk1 + "表示.TXT", "見本\r\n");
    }

    // Only the folder, one file and the entry.
    void PlainScript(const std::string& scope) const
    {
        WriteTextFile(disk1 + "SETUP.INI",
                      "[Title]\r\nSetup=Orvane User Scope\r\nUnSetup=Orvane User Scope Removal\r\n"
                      "UnSetupKey=OrvaneUserScope\r\n[DefaultFolder]\r\nFolder=(Prg)\\Orvane UserScope\r\n"
                      "[Product]\r\nScope=" + scope + "\r\nVersion=2.1\r\n[CopyFile]\r\nFile1=(App)\\表示.TXT\r\n");
    }

    void Script(const std::string& scope, const std::string& copyFiles) const
    {
        WriteTextFile(disk1 + "SETUP.INI",
                      "[Title]\r\nSetup=Orvane User Scope\r\nUnSetup=Orvane User Scope Removal\r\n"
                      "UnSetupKey=OrvaneUserScope\r\nUnSetupDisplay=Orvane ユーザー見本\r\n"
                      "[DefaultFolder]\r\nFolder=(Prg)\\Orvane UserScope\r\n[ProgramID]\r\nID=ORVUSERSCOPE\r\n"
                      "[Product]\r\nScope=" + scope + "\r\nVersion=2.1\r\nPublisher=Orvane 見本\r\n"
                      "[CopyFile]\r\n" + copyFiles +
                      "[Registry]\r\nKey1=(Local)SOFTWARE\\OrvaneUserScope\r\nName1=Path\r\nValue1=(Pdd)(Str)(App)\r\n"
                      "[Relate]\r\nName1=ovus,Orvane User Scope File\r\nFile1=open,(App)\\表示.TXT,\"%1\",0\r\n"
                      "[DeleteRegistry]\r\nKey1=(Local)SOFTWARE\\OrvaneUserScope\r\n");
    }

    int Run(const std::string& switches) const
    {
        SetupProcess setup(ExactCommandLine{Quoted(disk1 + "SETUP.EXE") + " " + switches +
                                            " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART /LOG=" + Quoted(log)},
                           temp.Path());
        CHECK_FALSE(RunToEnd(setup).anyWindow);
        return static_cast<int>(setup.ExitCode());
    }

    // The uninstall through the entry's quiet command, as stored.
    int Uninstall(HKEY root) const
    {
        const std::string quiet = StringValue(root, EntryKey, "QuietUninstallString");
        REQUIRE_FALSE(quiet.empty());
        SetupProcess uninstall(ExactCommandLine{quiet}, temp.Path());
        CHECK_FALSE(RunToEnd(uninstall).anyWindow);
        return static_cast<int>(uninstall.ExitCode());
    }

    std::vector<AllowedDifference> RunFolders() const
    {
        return {{root.Path() + "*", "the distribution and its log"}, {temp.Path() + "*", "the work folders"}};
    }
};

std::string LocalAppDataFolder()
{
    char path[MAX_PATH] = {};
    REQUIRE(SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, path)));
    return std::string(path) + "\\";
}

bool KeyExists(HKEY root, const char* key)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

// What the installs keep on purpose (the uninstallers, the lists of setup
// folders, the keys made on the way), removed again when the test found
// none of it, so that the prefix stays as it was.
class KeptFilesRemoved {
public:
    KeptFilesRemoved()
    {
        for (const std::string& file : files_) filesBefore_.push_back(PathExists(file));
        for (const char* key : keys_) keysBefore_.push_back(KeyExists(HKEY_CURRENT_USER, key));
        sharedListBefore_ = KeyExists(HKEY_LOCAL_MACHINE, sharedList_);
    }
    ~KeptFilesRemoved()
    {
        for (size_t n = 0; n < files_.size(); ++n)
            if (!filesBefore_[n]) DeleteFileA(files_[n].c_str());
        if (!ownBefore_) RemoveDirectoryA(own_.c_str());
        if (!programsBefore_) RemoveDirectoryA(programs_.c_str());
        for (size_t n = 0; n < std::size(keys_); ++n)
            if (!keysBefore_[n]) RegDeleteKeyA(HKEY_CURRENT_USER, keys_[n]);
        if (!sharedListBefore_) RegDeleteKeyA(HKEY_LOCAL_MACHINE, sharedList_);
    }
    KeptFilesRemoved(const KeptFilesRemoved&) = delete;
    KeptFilesRemoved& operator=(const KeptFilesRemoved&) = delete;

    const std::string& Own() const { return own_; }
    bool OwnBefore() const { return ownBefore_; }

private:
    std::string own_ = LocalAppDataFolder() + "Orvane\\";
    std::string programs_ = LocalAppDataFolder() + "Programs\\";
    bool ownBefore_ = PathExists(own_);
    bool programsBefore_ = PathExists(programs_);
    std::vector<std::string> files_ = {own_ + "UNOVSET.EXE", own_ + "OVSET98.INI", own_ + "ORVWAIT.LST",
                                       WindowsFolder() + "UNOVSET.EXE", WindowsFolder() + "OVSET98.INI"};
    const char* keys_[3] = {"Software\\Classes", "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                            "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce"};
    // The machine install's uninstall looks up shared counts, which makes the list.
    const char* sharedList_ = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
    bool sharedListBefore_ = false;
    std::vector<bool> filesBefore_;
    std::vector<bool> keysBefore_;
};

constexpr const char* RunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr const char* RunOnceValue = "OrvaneSetupPending";

// The names in `folder`, without "." and "..".
std::vector<std::string> NamesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA data{};
    const HANDLE find = FindFirstFileA((folder + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
}

// A file held open without sharing, as a running program holds its own.
FileHandle Hold(const std::string& path)
{
    FileHandle held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    REQUIRE(held);
    return held;
}

// What the user's sign-in does with the RunOnce value: runs its command.
int SignIn(const ScopeDistribution& distribution)
{
    const std::string command = StringValue(HKEY_CURRENT_USER, RunOnceKey, RunOnceValue);
    REQUIRE(command != "<none>");
    SetupProcess finish(ExactCommandLine{command}, distribution.temp.Path());
    CHECK_FALSE(RunToEnd(finish).anyWindow);
    return static_cast<int>(finish.ExitCode());
}

std::string WithoutDrive(const std::string& path)
{
    return path.size() > 2 && path[1] == ':' ? path.substr(2) : path;
}

}  // namespace

TEST_CASE("a user install: /CURRENTUSER touches only the profile and HKEY_CURRENT_USER, its quiet uninstall takes it away; /ALLUSERS is the machine install")
{
    const KeptFilesRemoved keptFiles;
    ScopeDistribution distribution;
    distribution.Script("Either", "File1=(App)\\表示.TXT\r\n");
    const std::string& own = keptFiles.Own();
    const std::string app = LocalAppDataFolder() + "Programs\\Orvane UserScope\\";
    const MachineState before = SnapshotOfMachine();

    REQUIRE(distribution.Run("/CURRENTUSER") == 0);
    // The machine's part: the Windows folder, HKEY_LOCAL_MACHINE (and with it
    // HKEY_CLASSES_ROOT's machine part) stay byte for byte as they were.
    std::vector<AllowedDifference> userOnly = distribution.RunFolders();
    userOnly.push_back({"C:\\users\\*", "the user's profile"});
    userOnly.push_back({"HKCU\\*", "the user's registry"});
    CheckOnlyAllowedDifferences(before, SnapshotOfMachine(), userOnly);

    CHECK(ReadTextFile(app + "表示.TXT") == "見本\r\n");
    CHECK(PathExists(own + "UNOVSET.EXE"));
    CHECK_FALSE(PathExists(own + "ORVSETUP.JNL"));
    const std::string command = own + "UNOVSET.EXE \"" + app + "UNSETUP.INI\"";
    CHECK(StringValue(HKEY_CURRENT_USER, EntryKey, "DisplayName") == "Orvane ユーザー見本");
    CHECK(StringValue(HKEY_CURRENT_USER, EntryKey, "UninstallString") == command);
    CHECK(StringValue(HKEY_CURRENT_USER, EntryKey, "QuietUninstallString") ==
          command + " /VERYSILENT /SUPPRESSMSGBOXES /NORESTART");
    CHECK(StringValue(HKEY_CURRENT_USER, EntryKey, "DisplayVersion") == "2.1");
    CHECK(StringValue(HKEY_CURRENT_USER, EntryKey, "Publisher") == "Orvane 見本");
    CHECK(StringValue(HKEY_CURRENT_USER, EntryKey, "InstallLocation") == app.substr(0, app.size() - 1));
    CHECK(StringValue(HKEY_CURRENT_USER, "Software\\OrvaneUserScope", "Path") == app.substr(0, app.size() - 1));
    CHECK(StringValue(HKEY_CURRENT_USER, "Software\\Classes\\.ovus", "") == "ovus_auto_file");
    CHECK(StringValue(HKEY_CURRENT_USER, "Software\\Classes\\ovus_auto_file\\shell\\open\\command", "") ==
          "\"" + app + "表示.TXT\" \"%1\"");

    REQUIRE(distribution.Uninstall(HKEY_CURRENT_USER) == 0);
    std::vector<AllowedDifference> kept = distribution.RunFolders();
    if (!keptFiles.OwnBefore()) {
        kept.push_back({own, "the user's own folder of the uninstaller, kept as the Windows folder is"});
        kept.push_back({own + "UNOVSET.EXE", "the uninstaller, shared by every program installed for the user"});
        kept.push_back({own + "OVSET98.INI", "the user's list of setup folders, without this program's section"});
    }
    kept.push_back({LocalAppDataFolder() + "Programs\\", "the user's programs folder, made on the way"});
    kept.push_back({"HKCU\\Software\\Classes\\", "the user's classes, made on the way to the association"});
    kept.push_back({"HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\",
                    "the user's Add/Remove list, made on the way to the entry"});
    CheckOnlyAllowedDifferences(before, SnapshotOfMachine(), kept);
    CHECK_FALSE(PathExists(app));

    // The same script for all users: today's install, under Program Files
    // and HKEY_LOCAL_MACHINE, nothing of it under HKEY_CURRENT_USER's entry.
    REQUIRE(distribution.Run("/ALLUSERS") == 0);
    const std::string machineApp = StringValue(HKEY_LOCAL_MACHINE, EntryKey, "InstallLocation");
    CHECK(WithoutDrive(machineApp) == "\\Program Files\\Orvane UserScope");
    CHECK(StringValue(HKEY_CURRENT_USER, EntryKey, "DisplayName") == "<none>");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, "Software\\OrvaneUserScope", "Path") == machineApp);
    CHECK(StringValue(HKEY_CLASSES_ROOT, ".ovus", "") == "ovus_auto_file");
    CHECK(distribution.Uninstall(HKEY_LOCAL_MACHINE) == 0);
    CHECK_FALSE(PathExists(machineApp + "\\表示.TXT"));
}

TEST_CASE("a user install that needs the machine is refused before anything is made; a switch against the script is the line's fault")
{
    const KeptFilesRemoved keptFiles;
    ScopeDistribution distribution;
    distribution.Script("User", "File1=(App)\\表示.TXT\r\nFile2=(Sys)\\表示.TXT\r\n");
    const MachineState before = SnapshotOfMachine();
    CHECK(distribution.Run("") == 1603);
    CheckOnlyAllowedDifferences(before, SnapshotOfMachine(), distribution.RunFolders());
    const std::vector<std::string> lines = LogLines(distribution.log);
    CHECK(HasLine(lines, Utf8("Error: an install for the current user cannot carry out [CopyFile] File2=(Sys)\\表示.TXT "
                              "(the Windows or system folder, a shared DLL, or the machine's registry outside Software)")));

    distribution.Script("User", "File1=(App)\\表示.TXT\r\n");
    CHECK(distribution.Run("/ALLUSERS") == 87);
    CHECK(HasLine(LogLines(distribution.log), "Error: /ALLUSERS is not allowed: the setup script's [Product] Scope says User"));
    distribution.Script("Machine", "File1=(App)\\表示.TXT\r\n");
    CHECK(distribution.Run("/CURRENTUSER") == 87);
    CheckOnlyAllowedDifferences(before, SnapshotOfMachine(), distribution.RunFolders());
}

TEST_CASE("a file in use in a user install is replaced, and in its uninstall removed, at the user's next sign-in")
{
    const KeptFilesRemoved keptFiles;
    ScopeDistribution distribution;
    distribution.Script("Either", "File1=(App)\\表示.TXT\r\n");
    const std::string programs = LocalAppDataFolder() + "Programs\\";
    const std::string app = programs + "Orvane UserScope\\";
    const std::string file = app + "表示.TXT";
    CreateDirectoryA(programs.c_str(), nullptr);
    REQUIRE(CreateDirectoryA(app.c_str(), nullptr));
    ScopeExit removeApp([&] { RemoveTree(app); });
    WriteTextFile(file, "古い\r\n");
    {
        // Older than the distribution's copy, which must replace it.
        const FILETIME old{0, 0x01000000};
        FileHandle stamp(CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        REQUIRE(stamp);
        REQUIRE(SetFileTime(stamp.Get(), nullptr, nullptr, &old));
    }
    const std::string finish = "\"" + keptFiles.Own() + "UNOVSET.EXE\" /FINISHPENDING";
    {
        const FileHandle held = Hold(file);
        CHECK(distribution.Run("/CURRENTUSER") == 3010);
        CHECK(StringValue(HKEY_CURRENT_USER, RunOnceKey, RunOnceValue) == finish);
        // The new file waits beside the held one.
        CHECK(NamesIn(app).size() == 3);
    }
    CHECK(ReadTextFile(file) == "古い\r\n");
    const std::vector<std::string> lines = LogLines(distribution.log);
    CHECK(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.rfind(Utf8("In use, replaced at sign-in: " + file), 0) == 0;
    }));
    CHECK(lines.back() == "Exit code: 3010");

    CHECK(SignIn(distribution) == 0);
    CHECK(ReadTextFile(file) == "見本\r\n");
    std::vector<std::string> names = NamesIn(app);
    std::sort(names.begin(), names.end());
    CHECK(names == std::vector<std::string>{"UNSETUP.INI", "表示.TXT"});
    CHECK(StringValue(HKEY_CURRENT_USER, RunOnceKey, RunOnceValue) == "<none>");
    CHECK_FALSE(PathExists(keptFiles.Own() + "ORVWAIT.LST"));

    {
        const FileHandle held = Hold(file);
        CHECK(distribution.Uninstall(HKEY_CURRENT_USER) == 3010);
        CHECK(NamesIn(app) == std::vector<std::string>{"表示.TXT"});
        CHECK(StringValue(HKEY_CURRENT_USER, RunOnceKey, RunOnceValue) == finish);
        // Still held at the sign-in: it waits for the next one.
        CHECK(SignIn(distribution) == 3010);
        CHECK(PathExists(file));
    }
    CHECK(SignIn(distribution) == 0);
    CHECK_FALSE(PathExists(app));
    CHECK(StringValue(HKEY_CURRENT_USER, RunOnceKey, RunOnceValue) == "<none>");
    CHECK_FALSE(PathExists(keptFiles.Own() + "ORVWAIT.LST"));
}

TEST_CASE("an Either script started by a person asks for whom in a box of its own: only me is a user install, cancel ends with 1602")
{
    const KeptFilesRemoved keptFiles;
    ScopeDistribution distribution;
    distribution.PlainScript("Either");
    const std::string program = distribution.disk1 + "SETUP.EXE";
    const auto asked = [](const SetupProcess& setup) {
        HWND dialog = nullptr;
        REQUIRE(WaitUntil([&] {
            dialog = FindWindowOf(setup.Id(), WindowClassNames::ScopeDialog);
            return dialog != nullptr && IsWindowVisible(dialog);
        }));
        return dialog;
    };
    const MachineState before = SnapshotOfMachine();
    {
        SetupProcess setup(program, "", distribution.temp.Path());
        REQUIRE(setup.Started());
        HWND dialog = asked(setup);
        CHECK(TextOf(dialog) == "セットアップ");
        CHECK(TextOf(ControlOf(dialog, ScopeDialogIds::messageLabel)) == "このプログラムをセットアップする対象を選んでください．");
        CHECK(TextOf(ControlOf(dialog, ScopeDialogIds::allUsersButton)) == "すべてのユーザー（管理者権限が必要です）(&A)");
        CHECK(TextOf(ControlOf(dialog, ScopeDialogIds::currentUserButton)) == "現在のユーザーだけ（管理者権限は不要です）(&U)");
        // Nothing else shows before the answer.
        CHECK(FindWindowOf(setup.Id(), WindowClassNames::MainWindow) == nullptr);
        Press(ControlOf(dialog, ScopeDialogIds::cancelButton));
        REQUIRE(setup.WaitForExit());
        CHECK(setup.ExitCode() == 1602);
    }
    CheckOnlyAllowedDifferences(before, SnapshotOfMachine(), distribution.RunFolders());

    const std::string app = LocalAppDataFolder() + "Programs\\Orvane UserScope";
    {
        SetupProcess setup(program, "", distribution.temp.Path());
        REQUIRE(setup.Started());
        Press(ControlOf(asked(setup), ScopeDialogIds::currentUserButton));
        HWND main = ExpectMainScreen(setup, "セットアップ開始(&S)");
        const std::string folder = TextOf(ControlOf(main, MainIds::folderBox));
        CHECK(folder.rfind(app, 0) == 0);
        Press(ControlOf(main, MainIds::actionButton));
        CHECK(AnswerAndWait(ExpectBox(setup, {"フォルダ作成", folder + "\r\rこのフォルダは存在しません．作成してもよろしいですか？"}), IDYES));
        HWND done = WaitForMessageBox(setup.Id(), "完了");
        REQUIRE(done != nullptr);
        CHECK(MessageBoxText(done).rfind("セットアップが完了しました．", 0) == 0);
        CHECK(AnswerAndWait(done, IDOK));
        REQUIRE(setup.WaitForExit());
        CHECK(setup.ExitCode() == 0);
    }
    CHECK(ReadTextFile(app + "\\表示.TXT") == "見本\r\n");
    CHECK(StringValue(HKEY_CURRENT_USER, EntryKey, "DisplayVersion") == "2.1");
    CHECK(StringValue(HKEY_LOCAL_MACHINE, EntryKey, "DisplayVersion") == "<none>");
    CHECK(distribution.Uninstall(HKEY_CURRENT_USER) == 0);
    CHECK_FALSE(PathExists(app));
}

TEST_CASE("a user install whose folder was deleted by hand: its quiet command finds the entry under HKEY_CURRENT_USER and removes it")
{
    const KeptFilesRemoved keptFiles;
    ScopeDistribution distribution;
    distribution.PlainScript("User");
    REQUIRE(distribution.Run("") == 0);
    RemoveTree(LocalAppDataFolder() + "Programs\\Orvane UserScope\\");
    CHECK(distribution.Uninstall(HKEY_CURRENT_USER) == 0);
    CHECK(StringValue(HKEY_CURRENT_USER, EntryKey, "DisplayName") == "<none>");
}

TEST_CASE("an install for the current user killed half-way is undone by the same person's next install for all users")
{
    const KeptFilesRemoved keptFiles;
    ScopeDistribution distribution;
    WriteTextFile(distribution.disk1 + "B.TXT", "新しい\r\n");
    WriteTextFile(distribution.disk1 + "SETUP.INI",
                  "[Title]\r\nSetup=Orvane User Scope\r\nUnSetup=Orvane User Scope Removal\r\n"
                  "UnSetupKey=OrvaneUserScope\r\n[DefaultFolder]\r\nFolder=(Prg)\\Orvane UserScope\r\n"
                  "[Product]\r\nScope=Either\r\nVersion=2.1\r\n"
                  "[CopyFile]\r\nFile1=(App)\\表示.TXT\r\nFile2=(App)\\B.TXT\r\n");
    const std::string programs = LocalAppDataFolder() + "Programs\\";
    const std::string app = programs + "Orvane UserScope\\";
    CreateDirectoryA(programs.c_str(), nullptr);
    REQUIRE(CreateDirectoryA(app.c_str(), nullptr));
    ScopeExit removeApp([&] { RemoveTree(app); });
    WriteTextFile(app + "B.TXT", "前からある\r\n");
    const std::string journal = keptFiles.Own() + "ORVSETUP.JNL";
    {
        // Killed while it asks about the second file: the first is made.
        SetupProcess setup(distribution.disk1 + "SETUP.EXE", "/CURRENTUSER", distribution.temp.Path());
        REQUIRE(setup.Started());
        HWND main = ExpectMainScreen(setup, "セットアップ開始(&S)");
        SendMessageW(ControlOf(main, MainIds::overwriteBox), BM_SETCHECK, BST_UNCHECKED, 0);
        Press(ControlOf(main, MainIds::actionButton));
        REQUIRE(WaitForMessageBox(setup.Id(), "上書き確認") != nullptr);
        setup.Kill();
    }
    REQUIRE(PathExists(app + "表示.TXT"));
    REQUIRE(PathExists(journal));

    REQUIRE(distribution.Run("/ALLUSERS") == 0);
    const std::vector<std::string> lines = LogLines(distribution.log);
    CHECK(HasLine(lines, Utf8("A journal of an earlier install was found: " + journal)));
    CHECK(HasLine(lines, Utf8("Undone: file removed: " + app + "表示.TXT")));
    CHECK_FALSE(PathExists(journal));
    CHECK_FALSE(PathExists(app + "表示.TXT"));
    CHECK(ReadTextFile(app + "B.TXT") == "前からある\r\n");
    CHECK(distribution.Uninstall(HKEY_LOCAL_MACHINE) == 0);
}
