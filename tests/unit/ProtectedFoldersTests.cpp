// The folders an uninstall never removes: compared as the system resolves
// them, case-blind, with or without the trailing backslash, and every
// folder above a protected one protected too.
#include <doctest/doctest.h>

#include "app/SystemFolders.h"
#include "engine/ProtectedFolders.h"
#include "engine/RunState.h"
#include "script/PathParts.h"
#include "services/ShellFolders.h"
#include "support/FolderLinks.h"
#include "support/Scratch.h"
#include "text/Unicode.h"

#include <windows.h>
#include <shlobj.h>

TEST_CASE("a protected folder, the folders above it and the roots are protected; folders inside are not")
{
    const ProtectedFolders protectedFolders({"C:\\users\\表示\\Documents\\", "\\", "", "D:\\Tools"});
    for (const char* folder : {"C:\\users\\表示\\Documents\\", "c:\\USERS\\表示\\documents", "C:\\users\\表示\\",
                               "C:\\users", "C:\\", "C:", "c:\\users\\表示\\Documents\\sub\\..\\",
                               "C:/users/表示/Documents/", "D:\\TOOLS\\", "\\\\server\\share\\", "\\\\server\\share",
                               "\\", "APP\\", "\\\\?\\C:\\users\\表示\\Documents\\App\\"}) {
        CAPTURE(folder);
        CHECK(protectedFolders.Protects(folder));
    }
    for (const char* folder : {"C:\\users\\表示\\Documents\\App\\", "C:\\users\\表示X\\", "C:\\users\\表\\",
                               "C:\\Program Files\\Sample\\", "D:\\Tools2\\", "D:\\Tools\\Sample\\",
                               "\\\\server\\share\\app\\"}) {
        CAPTURE(folder);
        CHECK_FALSE(protectedFolders.Protects(folder));
    }
}

TEST_CASE("a path too long to name a folder is left alone and lies inside nothing")
{
    // A damaged record's [DeleteFolder] entry of 100 KB: handed to the
    // system's long-name lookup, it overran that function's buffer and took
    // the thread down.
    const ProtectedFolders protectedFolders({"C:\\users\\表示\\Documents\\"});
    const std::string overLong = "C:\\Program Files\\" + std::string(100 * 1024, 'e') + "\\";
    const std::string justTooLong = "C:\\" + std::string(260, 'f') + "\\";
    for (const std::string& folder : {overLong, justTooLong}) {
        CHECK(protectedFolders.Protects(folder));
        CHECK_FALSE(IsSameOrInside(folder, "C:\\"));
        CHECK_FALSE(IsSameOrInside("C:\\Program Files\\", folder));
    }
}

TEST_CASE("this machine's protected folders: the run state's and the user's own data folders")
{
    RunState run;
    LoadSystemFolders(run);
    const ProtectedFolders machine = ProtectedFolders::OfThisMachine(run);
    for (const std::string& folder :
         {run.windowsFolder, run.systemFolder, run.tempFolder, run.programFilesFolder, run.desktopFolder,
          run.commonDesktopFolder, run.startMenuFolder, run.sendToFolder, GetSpecialFolder(CSIDL_PERSONAL),
          GetSpecialFolder(CSIDL_PROFILE), GetSpecialFolder(CSIDL_PROGRAM_FILESX86),
          GetSpecialFolder(CSIDL_COMMON_APPDATA), GetSpecialFolder(CSIDL_LOCAL_APPDATA)}) {
        CAPTURE(folder);
        REQUIRE_FALSE(folder.empty());
        CHECK(machine.Protects(folder));
    }
    CHECK_FALSE(machine.Protects(run.programFilesFolder + "Sample\\"));
    CHECK_FALSE(machine.Protects(GetSpecialFolder(CSIDL_PERSONAL) + "\\My App\\"));
    CHECK_FALSE(machine.Protects(run.programsFolder + "Sample\\"));
}

TEST_CASE("a shell folder asked for by its path is the folder its item list names")
{
    // Every folder the protected lists ask for by path.
    for (int id : {CSIDL_PROFILE, CSIDL_APPDATA, CSIDL_LOCAL_APPDATA, CSIDL_COMMON_APPDATA, CSIDL_PROGRAM_FILES,
                   CSIDL_PROGRAM_FILESX86, CSIDL_PROGRAM_FILES_COMMON, CSIDL_STARTMENU, CSIDL_PROGRAMS, CSIDL_STARTUP,
                   CSIDL_SENDTO, CSIDL_COMMON_STARTMENU, CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTUP, CSIDL_WINDOWS,
                   CSIDL_SYSTEM, CSIDL_SYSTEMX86, CSIDL_DESKTOPDIRECTORY, CSIDL_COMMON_DESKTOPDIRECTORY,
                   CSIDL_PERSONAL, CSIDL_MYPICTURES, CSIDL_MYMUSIC, CSIDL_MYVIDEO, CSIDL_FAVORITES,
                   CSIDL_COMMON_DOCUMENTS, CSIDL_COMMON_PICTURES, CSIDL_COMMON_MUSIC, CSIDL_COMMON_VIDEO}) {
        CAPTURE(id);
        const std::string byItems = GetSpecialFolder(id);
        const std::string byPath = GetSpecialFolderPath(id);
        CHECK(byPath.empty() == byItems.empty());
        if (byItems.empty()) continue;
        CHECK(IsSameOrInside(byPath + "\\", byItems + "\\"));
        CHECK(IsSameOrInside(byItems + "\\", byPath + "\\"));
    }
    // The folders the test machine has at all: most of them.
    CHECK_FALSE(GetSpecialFolderPath(CSIDL_PROFILE).empty());
    CHECK_FALSE(GetSpecialFolderPath(CSIDL_COMMON_STARTMENU).empty());
}

TEST_CASE("a run's protected folders are resolved once, and again when its folders change")
{
    RunState run;
    LoadSystemFolders(run);
    const ProtectedFolders& first = ProtectedFolders::OfRun(run);
    CHECK(first.Protects(run.tempFolder));
    CHECK(&ProtectedFolders::OfRun(run) == &first);
    // A run whose temporary folder moved keeps the new one, not the old.
    const std::string moved = run.programFilesFolder + "Moved Temp\\";
    CHECK_FALSE(first.Protects(moved));
    run.tempFolder = moved;
    CHECK(ProtectedFolders::OfRun(run).Protects(moved));
}

TEST_CASE("only a drive path or a share path names a folder on its own")
{
    for (const char* folder : {"C:\\", "c:\\表示\\", "\\\\server\\share\\"}) CHECK(IsAbsoluteFolder(folder));
    for (const char* folder : {"", "\\", "\\Windows\\", "APP\\", "C:APP\\", "C:", "\\\\\\", "表:\\",
                               "\\\\?\\C:\\users\\", "\\\\.\\C:\\users\\"}) {
        CAPTURE(folder);
        CHECK_FALSE(IsAbsoluteFolder(folder));
    }
}

TEST_CASE("a path of the install must name a place of its own: drive or share, no token left, no bad character, not too long")
{
    // "ポ" ends in the byte of "|", "ソ" in that of "\\": characters, not a bar.
    for (const char* path : {"C:\\Program Files (x86)\\表ソ\\", "\\\\server\\share\\App\\", "D:\\ポ\\"}) {
        CAPTURE(path);
        CHECK(FaultOfPath(path) == PathFault::None);
    }
    for (const char* path : {"RELATIVE_DIR\\", ",,,,\\", "(Bin)ABC\\", "()C:\\Users\\", "\\Windows\\"}) {
        CAPTURE(path);
        CHECK(FaultOfPath(path) == PathFault::NotAbsolute);
    }
    for (const char* path : {"C:\\(App)\\", "C:\\Users\\(Dsk)X\\", "C:\\(Cuser)\\"}) {
        CAPTURE(path);
        CHECK(FaultOfPath(path) == PathFault::TokenLeft);
    }
    for (const char* path : {"C:\\A*B\\", "C:\\A?\\", "C:\\A|B\\", "C:\\A\"B\\", "C:\\A:B\\", "C:\\A<B\\"}) {
        CAPTURE(path);
        CHECK(FaultOfPath(path) == PathFault::BadCharacter);
    }
    const std::string longest = "C:\\" + std::string(LongestPath - 3, 'A');
    CHECK(FaultOfPath(longest) == PathFault::None);
    CHECK(FaultOfPath(longest + "A") == PathFault::TooLong);
    CHECK(FaultOfPath(std::string(300, 'X')) == PathFault::TooLong);
}

TEST_CASE("a setup folder may not be a place of the system or the user, however it is spelled")
{
    RunState run;
    LoadSystemFolders(run);
    const ProtectedFolders machine = ProtectedFolders::OfThisMachine(run);
    wchar_t shortName[MAX_PATH] = {};
    REQUIRE(GetShortPathNameW(WideFromShiftJis(run.programFilesFolder).c_str(), shortName, MAX_PATH) > 0);
    const std::string documents = GetSpecialFolder(CSIDL_PERSONAL) + "\\";
    const std::string profile = GetSpecialFolder(CSIDL_PROFILE) + "\\";
    // Kept whole: the Windows and system folders and the user's document
    // folders, with everything inside them.
    for (const std::string& folder :
         {run.windowsFolder, run.windowsFolder + "Fonts\\", run.systemFolder + "drivers\\etc\\", documents + "App\\",
          GetSpecialFolder(CSIDL_MYPICTURES) + "\\Shots\\", profile + "Downloads\\New\\", profile + "Saved Games\\A\\",
          profile + "Favorites\\", profile + "Links\\", profile + "Searches\\", run.desktopFolder + "Tool\\",
          // Kept themselves: a drive's root, Program Files (by its short name
          // too), the profile, AppData, the Start menu.
          std::string("C:\\"), run.programFilesFolder, ShiftJisFromWideForDisplay(shortName), profile,
          GetSpecialFolder(CSIDL_APPDATA), GetSpecialFolder(CSIDL_LOCAL_APPDATA) + "\\", profile + "AppData\\LocalLow\\",
          run.startMenuFolder, run.programsFolder, run.startupFolder, run.sendToFolder,
          // "..", trailing dots and blanks name the same folder.
          run.programFilesFolder + "..\\" + FileNamePart(WithoutTrailingBackslash(run.windowsFolder)) + "\\",
          WithoutTrailingBackslash(run.windowsFolder) + ".", WithoutTrailingBackslash(run.windowsFolder) + " .\\"}) {
        CAPTURE(folder);
        CHECK(machine.RefusesAsSetupFolder(folder));
    }
    for (const std::string& folder :
         {run.programFilesFolder + "Sample\\", GetSpecialFolder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Sample\\",
          GetSpecialFolder(CSIDL_APPDATA) + "\\Maker\\Tool\\", run.programsFolder + "Sample\\", run.tempFolder + "App\\",
          std::string("C:\\Tools\\Sample\\")}) {
        CAPTURE(folder);
        CHECK_FALSE(machine.RefusesAsSetupFolder(folder));
    }
    // What the uninstall never removes is unchanged: a folder inside the
    // documents is no protected folder, only no setup folder.
    CHECK_FALSE(machine.Protects(documents + "App\\"));
}

TEST_CASE("a path is reached through a link when one lies between its top folder and it, the top included")
{
    ScratchFolder top("reach-top");
    ScratchFolder outside("reach-out");
    REQUIRE(CreateDirectoryA((top / "REAL").c_str(), nullptr));
    REQUIRE(CreateDirectoryA((outside / "SUB").c_str(), nullptr));
    const FolderLink link(top / "LINK", outside.Path());
    REQUIRE(link.Made());
    CHECK_FALSE(ReachedThroughLink(top / "REAL\\", top.Path()));
    CHECK_FALSE(ReachedThroughLink(top / "REAL\\NEW\\", top.Path()));
    CHECK(ReachedThroughLink(top / "LINK\\", top.Path()));
    CHECK(ReachedThroughLink(top / "LINK\\SUB\\", top.Path()));
    CHECK(ReachedThroughLink(top / "LINK\\SUB\\", top / "LINK\\"));
    CHECK(ReachedThroughLink(outside.Path(), top.Path()));  // not inside at all
    // A colon inside a step of a damaged record's path is no step: the walk
    // up ended for good at it once.
    CHECK_FALSE(ReachedThroughLink(top / "REAL\\B\rC=C:\\D\\", top.Path()));
}
