// The uninstall's folders: the recorded folders last made first, the option
// patterns applied only inside the setup folder, delete-all, the setup
// folder's own removal with its failure texts, the folders that are never
// removed, and shortcuts with the folders they leave empty.
#include <doctest/doctest.h>

#include "UninstallFixture.h"
#include "engine/ProtectedFolders.h"
#include "script/PathParts.h"
#include "services/ShellFolders.h"
#include "services/SystemErrorText.h"
#include "support/PendingRenames.h"
#include "support/Utf8.h"
#include "text/MapText.h"
#include "uninstall/SetupFolderRemoval.h"

#include <windows.h>
#include <shlobj.h>

namespace {

const std::string FilesRemain = "フォルダにファイルが残っているため，"
                                "セットアップフォルダを削除できませんでした．エクスプローラなどから，直接削除してください．\r\n";
const std::string DeleteAllFailed = "全ファイル・フォルダの削除を試みましたが，エラーが発生したため，"
                                    "セットアップフォルダを削除できませんでした．エクスプローラなどから，直接削除してください．\r\n";

std::string FolderFailure(const std::string& folder, unsigned long code)
{
    return "<Folder> " + folder + "\r\n" + SystemErrorText(code) + "\r\n";
}

void MakeFolder(const std::string& path)
{
    REQUIRE(CreateDirectoryA(path.c_str(), nullptr));
}

// Runs the uninstall, answers Yes to the failure question when there is one,
// and gives back the report that the details showed.
std::string UninstallAndReadReport(UninstallFixture& fixture, ScriptedDialogs& person, bool expectFailures)
{
    RunWatcher watcher(fixture.run);
    if (expectFailures) person.Answer(IDYES);
    person.Answer(IDOK);
    fixture.Uninstall();
    REQUIRE(person.Boxes().size() == (expectFailures ? 2u : 1u));
    if (expectFailures) CheckFailureQuestion(person.Boxes().front());
    CheckCompletionBox(person.Boxes().back());
    return watcher.reportShown;
}

}  // namespace

TEST_CASE("delete-all removes everything below the setup folder and reports none of its subfolders")
{
    UninstallFixture fixture;
    const std::string data = fixture.app / "DATA\\";
    const std::string deeper = data + "表\\";
    MakeFolder(data);
    MakeFolder(deeper);
    MakeFolder(fixture.app / "USER\\");
    WriteTextFile(fixture.app / "APP.EXE", "installed");
    WriteTextFile(data + "ADDED.DAT", "the application's own");
    WriteTextFile(deeper + "MORE.DAT", "the application's own");
    WriteTextFile(fixture.app / "USER\\NOTES.TXT", "the user's");
    fixture.record.checkBox = "DeleteAll";
    fixture.record.folders = {data, deeper};
    fixture.record.files = {fixture.app / "APP.EXE"};
    ScriptedDialogs person;

    SUBCASE("a setup folder the install made: everything below it goes")
    {
        fixture.record.setupFolderMade = true;
        fixture.Start();
        CHECK(fixture.run.main.desktopBox.Checked());
        CHECK(UninstallAndReadReport(fixture, person, false).empty());
        CHECK_FALSE(PathExists(fixture.app.Path()));
    }
    SUBCASE("a folder that was there before: only what the record lists goes, unreported")
    {
        CHECK(UninstallAndReadReport(fixture, person, false).empty());
        CHECK_FALSE(PathExists(fixture.app / "APP.EXE"));
        CHECK(ReadTextFile(fixture.app / "USER\\NOTES.TXT") == "the user's");
        CHECK(ReadTextFile(data + "ADDED.DAT") == "the application's own");
    }
    SUBCASE("a setup folder inside the Windows folder, though the record says the install made it: the same")
    {
        const std::string inside = fixture.run.windows / "APP\\";
        MakeFolder(inside);
        WriteTextFile(inside + "SYSTEM.DAT", "not the install's");
        WriteTextFile(inside + "APP.EXE", "installed");
        fixture.record.setupFolder = inside;
        fixture.record.setupFolderMade = true;
        fixture.record.folders = {};
        fixture.record.files = {inside + "APP.EXE"};
        CHECK(UninstallAndReadReport(fixture, person, false).empty());
        CHECK_FALSE(PathExists(inside + "APP.EXE"));
        CHECK(ReadTextFile(inside + "SYSTEM.DAT") == "not the install's");
    }
}

TEST_CASE("the *.INI and *.GID options clear only folders inside the setup folder, the setup folder included")
{
    UninstallFixture fixture;
    const std::string data = fixture.app / "DATA\\";
    const std::string outside = fixture.elsewhere / "OUT\\";
    MakeFolder(data);
    MakeFolder(outside);
    for (const std::string& folder : {fixture.app.Path(), data, outside}) {
        WriteTextFile(folder + "SET.INI", "[a]");
        WriteTextFile(folder + "HELP.GID", "gid");
        WriteTextFile(folder + "KEEP.TXT", "kept");
    }
    fixture.record.folders = {data, outside};
    ScriptedDialogs person;

    SUBCASE("both ticked")
    {
        fixture.record.checkBox = "1,1,0,0";
        const std::string report = UninstallAndReadReport(fixture, person, true);
        // The last recorded folder first; the setup folder at the end.
        CHECK(Utf8(report) == Utf8(FolderFailure(outside, ERROR_DIR_NOT_EMPTY) +
                                           FolderFailure(data, ERROR_DIR_NOT_EMPTY) + "<SetupFolder> " +
                                           fixture.app.Path() + "\r\n" + FilesRemain));
        for (const std::string& folder : {fixture.app.Path(), data}) {
            CHECK_FALSE(PathExists(folder + "SET.INI"));
            CHECK_FALSE(PathExists(folder + "HELP.GID"));
            CHECK(PathExists(folder + "KEEP.TXT"));
        }
    }
    SUBCASE("only *.INI ticked")
    {
        fixture.record.checkBox = "1,0,1,1";
        UninstallAndReadReport(fixture, person, true);
        for (const std::string& folder : {fixture.app.Path(), data}) {
            CHECK_FALSE(PathExists(folder + "SET.INI"));
            CHECK(PathExists(folder + "HELP.GID"));
        }
    }
    CHECK(PathExists(outside + "SET.INI"));
    CHECK(PathExists(outside + "HELP.GID"));
}

TEST_CASE("a folder made by the install is removed once it is empty, after the files")
{
    UninstallFixture fixture;
    const std::string outside = fixture.elsewhere / "TOOLS\\";
    const std::string inner = outside + "BIN\\";
    MakeFolder(outside);
    MakeFolder(inner);
    WriteTextFile(inner + "TOOL.EXE", "installed");
    fixture.record.folders = {outside, inner};
    fixture.record.files = {inner + "TOOL.EXE"};
    ScriptedDialogs person;
    CHECK(UninstallAndReadReport(fixture, person, false).empty());
    CHECK_FALSE(PathExists(outside));
    CHECK_FALSE(PathExists(fixture.app.Path()));
}

TEST_CASE("the setup folder's failure texts: files left, delete-all failing, and any other code")
{
    UninstallFixture fixture;
    ScriptedDialogs person;
    SUBCASE("delete-all, but a folder inside it held open stays: 145 with the delete-all text")
    {
        const std::string inner = fixture.app / "INNER\\";
        MakeFolder(inner);
        fixture.record.checkBox = "DeleteAll";
        fixture.record.setupFolderMade = true;
        const PendingRenamesRestored restored;
        const size_t pendingBefore = PendingRenames().size();
        std::string report;
        {
            HeldOpen open(inner, FILE_SHARE_READ);
            report = UninstallAndReadReport(fixture, person, true);
        }
        CHECK(Utf8(report) == Utf8("<SetupFolder> " + fixture.app.Path() + "\r\n" + DeleteAllFailed));
        CHECK(PathExists(inner));
        // No file waits for the restart: the folder is not left to it either.
        CHECK(PendingRenames().size() == pendingBefore);
    }
    SUBCASE("delete-all with a file held open: the file and the folder go at the restart, unreported")
    {
        MakeFolder(fixture.app / "DATA\\");
        const std::string held = fixture.app / "DATA\\HELD.DAT";
        WriteTextFile(held, "in use");
        WriteTextFile(fixture.app / "FREE.DAT", "goes now");
        fixture.record.checkBox = "DeleteAll";
        fixture.record.setupFolderMade = true;
        const PendingRenamesRestored restored;
        const size_t pendingBefore = PendingRenames().size();
        std::string report;
        {
            HeldOpen open(held);
            report = UninstallAndReadReport(fixture, person, false);
        }
        CHECK(report.empty());
        CHECK_FALSE(PathExists(fixture.app / "FREE.DAT"));
        const std::vector<std::string> pending = PendingRenames();
        REQUIRE(pending.size() == pendingBefore + 6);
        CHECK(pending[pendingBefore] == "\\??\\" + held);
        CHECK(pending[pendingBefore + 2] == "\\??\\" + fixture.app / "DATA");
        CHECK(pending[pendingBefore + 4] == "\\??\\" + WithoutTrailingBackslash(fixture.app.Path()));
        CHECK(fixture.run.main.Outcome()->restartNeeded);
    }
    SUBCASE("the folder itself held open by another: the system's text for that code")
    {
        std::string report;
        {
            HeldOpen open(fixture.app.Path(), FILE_SHARE_READ);
            report = UninstallAndReadReport(fixture, person, true);
        }
        CHECK(Utf8(report) == Utf8("<SetupFolder> " + fixture.app.Path() + "\r\n" +
                                           SystemErrorText(ERROR_SHARING_VIOLATION) + "\r\n"));
    }
}

TEST_CASE("access denied (5) is told like a folder that is not empty (145)")
{
    // Wine lets root remove any folder but a non-empty one or one held open,
    // so the system's refusal is checked on the text alone.
    const std::string folder = "C:\\表示\\";
    for (bool deleteAll : {false, true}) {
        const std::string expected = "<SetupFolder> " + folder + "\r\n" + (deleteAll ? DeleteAllFailed : FilesRemain);
        CHECK(EntryText(SetupFolderFailure(folder, ERROR_ACCESS_DENIED, deleteAll)) == expected);
        CHECK(EntryText(SetupFolderFailure(folder, ERROR_DIR_NOT_EMPTY, deleteAll)) == expected);
        CHECK(EntryText(SetupFolderFailure(folder, ERROR_PATH_NOT_FOUND, deleteAll)) ==
              "<SetupFolder> " + folder + "\r\n" + SystemErrorText(ERROR_PATH_NOT_FOUND) + "\r\n");
    }
}

TEST_CASE("with delete-all set, a setup folder of the system or the user's own is left in place, unreported")
{
    UninstallFixture fixture;
    // A recorded file elsewhere shows that the rest of the uninstall happens.
    const std::string installed = fixture.elsewhere / "APP.EXE";
    WriteTextFile(installed, "installed");
    fixture.record.files = {installed};
    fixture.record.checkBox = "DeleteAll";
    fixture.recordListsItself = false;
    const std::string documents = GetSpecialFolder(CSIDL_PERSONAL) + "\\";
    // The rest of the protected folders, and the spellings of each, are the
    // unit tests' matter; these show the protection at work in the run.
    std::string folder;
    SUBCASE("the drive root") { folder = "C:\\"; }
    SUBCASE("the Windows folder") { folder = fixture.run.windows.Path(); }
    SUBCASE("the documents folder, in other letter case") { folder = MapText(documents, LCMAP_LOWERCASE); }
    CAPTURE(folder);
    fixture.record.setupFolder = folder;
    fixture.Start();
    // Never wipe a real folder of the machine should the protection fail.
    REQUIRE(ProtectedFolders::OfThisMachine(fixture.run.state).Protects(fixture.run.main.folderBox.Text()));
    WriteTextFile(fixture.run.windows / "WIN.INI", "kept");
    ScriptedDialogs person;
    CHECK(UninstallAndReadReport(fixture, person, false).empty());
    CHECK(PathExists(folder));
    CHECK_FALSE(PathExists(installed));
    CHECK(PathExists(fixture.run.windows / "WIN.INI"));
    CHECK(PathExists(documents));
}

TEST_CASE("a recorded folder that is protected is neither cleared nor removed; one inside it is")
{
    UninstallFixture fixture;
    // The install's setup folder was the Windows folder itself, and it
    // recorded that folder and a folder it made there.
    const std::string windows = fixture.run.windows.Path();
    const std::string made = windows + "ADDIN\\";
    MakeFolder(made);
    WriteTextFile(made + "ADDIN.INI", "[a]");
    WriteTextFile(windows + "SYSTEM.INI", "[boot]");
    fixture.record.setupFolder = windows;
    fixture.record.folders = {windows, made};
    fixture.record.checkBox = "1,0,0,0";
    fixture.recordListsItself = false;
    ScriptedDialogs person;
    CHECK(UninstallAndReadReport(fixture, person, false).empty());
    CHECK_FALSE(PathExists(made));
    CHECK(PathExists(windows + "SYSTEM.INI"));
}

TEST_CASE("shortcuts go; the desktop stays even when emptied, an emptied program group goes")
{
    UninstallFixture fixture;
    ScratchFolder desktop("desk");
    ScratchFolder programs("progs");
    const std::string group = programs / "表示グループ\\";
    const std::string busyGroup = programs / "BUSY\\";
    MakeFolder(group);
    MakeFolder(busyGroup);
    const std::string onDesktop = desktop / "表示.lnk";
    const std::string inGroup = group + "表示.lnk";
    const std::string inBusyGroup = busyGroup + "表示.lnk";
    for (const std::string& shortcut : {onDesktop, inGroup, inBusyGroup}) WriteTextFile(shortcut, "link");
    WriteTextFile(busyGroup + "OTHER.lnk", "another program's");
    const std::string gone = group + "GONE.lnk";
    fixture.record.shortcuts = {onDesktop, gone, inGroup, inBusyGroup};
    fixture.Start();
    fixture.run.state.desktopFolder = desktop.Path();
    fixture.run.state.programsFolder = programs.Path();
    ScriptedDialogs person;
    const std::string report = UninstallAndReadReport(fixture, person, true);
    CHECK(Utf8(report) == Utf8("<ShortCut> " + gone + "\r\n" + SystemErrorText(2) + "\r\n"));
    CHECK_FALSE(PathExists(onDesktop));
    CHECK(PathExists(desktop.Path()));
    CHECK_FALSE(PathExists(group));
    CHECK(PathExists(programs.Path()));
    CHECK_FALSE(PathExists(inBusyGroup));
    CHECK(PathExists(busyGroup + "OTHER.lnk"));
}
