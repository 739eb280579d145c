// Silent deletion through the shell and folder removal, on real files:
// held-open files, read-only files, Japanese names, components.
#include <doctest/doctest.h>

#include "engine/Rollback.h"
#include "services/Deletion.h"
#include "services/Journal.h"
#include "support/Fixtures.h"
#include "support/FolderLinks.h"
#include "support/Scratch.h"
#include "support/Scripted.h"

#include <windows.h>

#include <optional>

namespace {

void MakeFolder(const std::string& path)
{
    REQUIRE(CreateDirectoryA(path.c_str(), nullptr));
}

}  // namespace

TEST_CASE("DeleteFiles deletes one file and tells why it could not")
{
    ScratchFolder folder("delete");
    WriteTextFile(folder / "A.TXT", "a");
    CHECK(DeleteFiles(folder / "A.TXT") == 0);
    CHECK_FALSE(PathExists(folder / "A.TXT"));

    // A Japanese name whose trail byte is a backslash, and a read-only file.
    WriteTextFile(folder / "表.TXT", "x");
    CHECK(DeleteFiles(folder / "表.TXT") == 0);
    CHECK_FALSE(PathExists(folder / "表.TXT"));
    WriteTextFile(folder / "RO.TXT", "x");
    SetFileAttributesA((folder / "RO.TXT").c_str(), FILE_ATTRIBUTE_READONLY);
    CHECK(DeleteFiles(folder / "RO.TXT") == 0);
    CHECK_FALSE(PathExists(folder / "RO.TXT"));

    // Nothing to delete: 2 without asking the shell; a folder is no file.
    CHECK(DeleteFiles(folder / "MISSING.TXT") == ERROR_FILE_NOT_FOUND);
    MakeFolder(folder / "SUB");
    WriteTextFile(folder / "SUB\\IN.TXT", "x");
    CHECK(DeleteFiles(folder / "SUB") == ERROR_FILE_NOT_FOUND);
    CHECK(PathExists(folder / "SUB\\IN.TXT"));

    // The shell fails on a file held open without sharing and leaves no
    // last error; the failure is still reported, with the shell's code.
    WriteTextFile(folder / "HELD.TXT", "x");
    {
        HeldOpen held(folder / "HELD.TXT");
        CHECK(DeleteFiles(folder / "HELD.TXT") == ERROR_SHARING_VIOLATION);
    }
    CHECK(PathExists(folder / "HELD.TXT"));
}

TEST_CASE("DeleteFiles on a pattern deletes the matching files, never a folder")
{
    ScratchFolder folder("pattern");
    WriteTextFile(folder / "A.TMP", "a");
    WriteTextFile(folder / "B.TMP", "b");
    WriteTextFile(folder / "RO.TMP", "r");
    SetFileAttributesA((folder / "RO.TMP").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteTextFile(folder / "KEEP.TXT", "k");
    MakeFolder(folder / "DIR.TMP");
    WriteTextFile(folder / "DIR.TMP\\IN.TXT", "x");
    CHECK(DeleteFiles(folder / "*.TMP") == 0);
    CHECK_FALSE(PathExists(folder / "A.TMP"));
    CHECK_FALSE(PathExists(folder / "B.TMP"));
    CHECK_FALSE(PathExists(folder / "RO.TMP"));
    CHECK(PathExists(folder / "DIR.TMP\\IN.TXT"));
    CHECK(PathExists(folder / "KEEP.TXT"));
    // "*.*" takes every file and leaves every folder with its contents.
    CHECK(DeleteFiles(folder / "*.*") == 0);
    CHECK_FALSE(PathExists(folder / "KEEP.TXT"));
    CHECK(PathExists(folder / "DIR.TMP\\IN.TXT"));
    // A pattern that matches no file has nothing to do.
    CHECK(DeleteFiles(folder / "*.TMP") == 0);
    CHECK(DeleteFiles(folder / "?.LOG") == 0);
}

TEST_CASE("RemoveFolderTree empties a tree with subfolders and read-only files")
{
    ScratchFolder scratch("rmtree");
    const std::string tree = scratch / "表ソ";
    MakeFolder(tree);
    WriteTextFile(tree + "\\A.TXT", "a");
    WriteTextFile(tree + "\\RO.TXT", "r");
    SetFileAttributesA((tree + "\\RO.TXT").c_str(), FILE_ATTRIBUTE_READONLY);
    MakeFolder(tree + "\\SUB");
    MakeFolder(tree + "\\SUB\\DEEP");
    WriteTextFile(tree + "\\SUB\\DEEP\\RO2.TXT", "r");
    SetFileAttributesA((tree + "\\SUB\\DEEP\\RO2.TXT").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    CHECK(RemoveFolder(tree, "*.*|") == ERROR_DIR_NOT_EMPTY);
    CHECK(PathExists(tree + "\\SUB\\DEEP\\RO2.TXT"));
    CHECK(RemoveFolderTree(tree) == 0);
    CHECK_FALSE(PathExists(tree));
}

TEST_CASE("RemoveFolder deletes only the listed names, and a folder that stays not empty stays")
{
    ScratchFolder scratch("rmlist");
    const std::string app = scratch / "APP\\";
    MakeFolder(app);
    WriteTextFile(app + "SETUP.INI", "i");
    WriteTextFile(app + "HELP.GID", "g");
    WriteTextFile(app + "DATA.BIN", "d");

    // Without names a non-empty folder is not removed: Wine answers 145
    // (directory not empty), Windows 145 or 5.
    const unsigned long notEmpty = RemoveFolder(app, "");
    CHECK((notEmpty == ERROR_DIR_NOT_EMPTY || notEmpty == ERROR_ACCESS_DENIED));
    CHECK(PathExists(app + "DATA.BIN"));

    // Empty pieces are harmless; the last name needs no closing bar.
    const unsigned long partly = RemoveFolder(app, "||*.INI|*.GID");
    CHECK((partly == ERROR_DIR_NOT_EMPTY || partly == ERROR_ACCESS_DENIED));
    CHECK_FALSE(PathExists(app + "SETUP.INI"));
    CHECK_FALSE(PathExists(app + "HELP.GID"));
    CHECK(PathExists(app + "DATA.BIN"));

    CHECK(RemoveFolder(scratch / "APP", "DATA.BIN") == 0);
    CHECK_FALSE(PathExists(app));
    CHECK(RemoveFolder(scratch / "APP", "") == ERROR_FILE_NOT_FOUND);

    // A file held open survives "*.*", and so does its folder.
    MakeFolder(app);
    WriteTextFile(app + "HELD.TXT", "h");
    HeldOpen held(app + "HELD.TXT");
    CHECK(RemoveFolder(app, "*.*|") != 0);
    CHECK(PathExists(app + "HELD.TXT"));
}

TEST_CASE("RemoveFolder with an empty folder deletes nothing below the drive root")
{
    // Without a folder, "\name" would mean the root of the current drive.
    const std::string sentinel = "orvane-sentinel-" + std::to_string(GetCurrentProcessId()) + ".TXT";
    WriteTextFile("C:\\" + sentinel, "s");
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    REQUIRE(SetCurrentDirectoryA("C:\\"));
    const unsigned long result = RemoveFolder("", sentinel + "|");
    SetCurrentDirectoryA(previous);
    CHECK(result != 0);
    CHECK(PathExists("C:\\" + sentinel));
    DeleteFileA(("C:\\" + sentinel).c_str());
}

TEST_CASE("no deletion by tree, pattern or folder goes below a link: what the link leads to stays, byte for byte")
{
    // Links as Wine makes them: the folder a junction or a folder symbolic
    // link would be on Windows. Wine deletes a link's target when asked to
    // delete the link, so the link itself stays too.
    ScratchFolder app("linked-app");
    ScratchFolder outside("link-target");
    ScratchFolder emptyOutside("link-empty");
    WriteTextFile(outside / "DOC.TXT", "the user's document");
    WriteTextFile(outside / "WIN.INI", "[windows]");
    MakeFolder(outside / "SUB");
    WriteTextFile(outside / "SUB\\DEEP.INI", "deep");
    WriteTextFile(app / "APP.INI", "the application's");
    const FolderLink docs(app / "docs", outside.Path());
    const FolderLink empty(app / "empty", emptyOutside.Path());
    REQUIRE(docs.Made());
    REQUIRE(empty.Made());

    // The option patterns in a folder that is a link, and the link removed
    // as a folder of the record.
    CHECK(DeleteFiles(app / "docs\\*.INI") != 0);
    CHECK(FilesMatching(app / "docs\\*.*").empty());
    CHECK(RemoveFolder(app / "docs\\", "*.INI|*.*|") != 0);
    CHECK(RemoveFolder(app / "empty\\", "") != 0);
    CHECK(PathExists(emptyOutside.Path()));
    // The whole tree, as delete-all removes it: everything but the links.
    CHECK(RemoveFolderTree(app.Path()) == ERROR_DIR_NOT_EMPTY);
    CHECK_FALSE(PathExists(app / "APP.INI"));
    CHECK(PathExists(app / "docs"));

    CHECK(ReadTextFile(outside / "DOC.TXT") == "the user's document");
    CHECK(ReadTextFile(outside / "WIN.INI") == "[windows]");
    CHECK(ReadTextFile(outside / "SUB\\DEEP.INI") == "deep");
    CHECK(PathExists(emptyOutside.Path()));
}

TEST_CASE("undoing an install removes no folder through a link: a folder line naming a link keeps what it leads to")
{
    // The folder a link leads to is empty: asked to remove the link, Wine
    // removed that folder and left the link. Everything the journal names
    // is made after it began, as its run would have made it.
    ScratchFolder logs("undo-link-log");
    const std::string path = logs / "ORVSETUP.JNL";
    std::optional<Journal> journal = Journal::Start(path);
    REQUIRE(journal);
    ScratchFolder app("undo-link");
    ScratchFolder emptyOutside("undo-empty");
    const FolderLink link(app / "LINKED", emptyOutside.Path());
    REQUIRE(link.Made());
    MakeFolder(app / "MADE");
    journal->FolderCreated(app / "LINKED\\");
    journal->FolderCreated(app / "MADE\\");
    journal->Close();
    {
        RunLog log;
        REQUIRE(log.Open(logs / "undo.log") == 0);
        CHECK(SettleJournal(path, ProtectedFolders({}), log).verdict == JournalVerdict::Undone);
    }
    CHECK(PathExists(emptyOutside.Path()));
    CHECK_FALSE(PathExists(app / "MADE"));
    CHECK(ReadTextFile(logs / "undo.log").find("Not undone: folder not removed: ") != std::string::npos);
}
