// Location tokens, special folders and the error texts of the failure lists.
#include <doctest/doctest.h>

#include "app/SystemFolders.h"
#include "engine/RunState.h"
#include "script/LocationTokens.h"
#include "script/ShiftJis.h"
#include "services/FileOps.h"
#include "services/ShellFolders.h"
#include "services/SystemErrorText.h"
#include "support/KnownFolders.h"

#include <windows.h>
#include <shlobj.h>

TEST_CASE("every location token expands to its folder")
{
    KnownFolders folders;
    const std::pair<const char*, const char*> expected[] = {
        {"(App)", "C:\\APP\\"},        {"(Prg)", "C:\\Program Files\\"},
        {"(Win)", "C:\\WINDOWS\\"},    {"(Sys)", "C:\\WINDOWS\\SYSTEM\\"},
        {"(Tmp)", "C:\\TEMP\\"},       {"(Boo)", "C:\\"},
        {"(Set)", "D:\\"},             {"(Edr)", "E:\\"},
        {"(Smn)", "C:\\SM\\"},         {"(Sta)", "C:\\SM\\Programs\\"},
        {"(Dsk)", "C:\\Desk\\"},       {"(Sup)", "C:\\SM\\Programs\\Startup\\"},
        {"(Sen)", "C:\\SendTo\\"},     {"(C_Smn)", "C:\\All\\SM\\"},
        {"(C_Sta)", "C:\\All\\Programs\\"}, {"(C_Dsk)", "C:\\All\\Desk\\"},
        {"(C_Sup)", "C:\\All\\Startup\\"},
    };
    for (const auto& [token, folder] : expected) {
        CAPTURE(token);
        CHECK(ExpandTokens(std::string(token) + "X.TXT", LocationsOf(folders.run)) == std::string(folder) + "X.TXT");
    }
    CHECK(ExpandTokens("(Win)SYSTEM\\X.DLL", LocationsOf(folders.run)) == "C:\\WINDOWS\\SYSTEM\\X.DLL");
    CHECK(ExpandTokens("(Win)\\SYSTEM", LocationsOf(folders.run)) == "C:\\WINDOWS\\SYSTEM");
    CHECK(ExpandTokens("(Win)\\\\SYSTEM", LocationsOf(folders.run)) == "C:\\WINDOWS\\\\SYSTEM");
    CHECK(ExpandTokens("(win)A", LocationsOf(folders.run)) == "C:\\WINDOWS\\A");
    CHECK(ExpandTokens("(WIN)A", LocationsOf(folders.run)) == "C:\\WINDOWS\\A");
    CHECK(ExpandTokens("(Prg)(Prg)", LocationsOf(folders.run)) == "C:\\Program Files\\C:\\Program Files\\");
    CHECK(ExpandTokens("(App)\\BIN\\TOOL.EXE,(Sys)X", LocationsOf(folders.run)) == "C:\\APP\\BIN\\TOOL.EXE,C:\\WINDOWS\\SYSTEM\\X");
    CHECK(ExpandTokens("plain text", LocationsOf(folders.run)) == "plain text");
    CHECK(ExpandTokens("(Cuser)Software,(Pdd)(Str)", LocationsOf(folders.run)) == "(Cuser)Software,(Pdd)(Str)");
}

TEST_CASE("tokens are expanded in table order, once")
{
    KnownFolders folders;
    // A folder value holding a later token is expanded in turn...
    folders.run.appFolder = "(Win)APP\\";
    CHECK(ExpandTokens("(App)X", LocationsOf(folders.run)) == "C:\\WINDOWS\\APP\\X");
    // ...an earlier token that only a replacement brings in stays.
    folders.run.appFolder = "C:\\APP\\";
    folders.run.windowsFolder = "(App)W\\";
    CHECK(ExpandTokens("(Win)X", LocationsOf(folders.run)) == "(App)W\\X");
}

TEST_CASE("the backslash merge looks only at single-byte backslashes")
{
    // The value ends in "ソ", whose second byte is 0x5C: no merge.
    CHECK(ReplaceToken("(Win)\\SYSTEM", "(Win)", "C:\\ソ") == "C:\\ソ\\SYSTEM");
    CHECK(ReplaceToken("(Win)\\SYSTEM", "(Win)", "C:\\ソ\\") == "C:\\ソ\\SYSTEM");
    // The text after the token starts with "表" (0x95 0x5C): nothing is dropped.
    CHECK(ReplaceToken("(Win)表", "(Win)", "C:\\W\\") == "C:\\W\\表");
    CHECK(ReplaceToken("a(x)b(X)c", "(x)", "-") == "a-b-c");
    CHECK(ReplaceToken("(Pdd)(Str)(Pdd)V", "(Pdd)", "") == "(Str)V");
}

TEST_CASE("a value holding its own token ends and leaves it in place")
{
    KnownFolders folders;
    folders.run.appFolder = "(App)";
    CHECK(ExpandTokens("(App)\\SUB", LocationsOf(folders.run)) == "(App)\\SUB");
    CHECK(ExpandTokens("(App)(App)", LocationsOf(folders.run)) == "(App)(App)");
    folders.run.appFolder = "C:\\(App)\\";
    CHECK(ExpandTokens("(App)\\BIN\\(App)X", LocationsOf(folders.run)) == "C:\\(App)\\BIN\\C:\\(App)\\X");
    CHECK(ReplaceToken("(app)", "(App)", "x(APP)y") == "x(APP)y");
}

TEST_CASE("thousands of tokens in one value are left unexpanded instead of growing without bound")
{
    KnownFolders folders;
    folders.run.appFolder = "C:\\users\\root\\Desktop\\Orvane\\";
    std::string chain;
    for (int n = 0; n < 5000; ++n) chain += "(App)";
    CHECK(ExpandTokens(chain, LocationsOf(folders.run)) == chain);
    // Below the limit a long value still expands as always.
    const std::string some = "(App)(App)(App)";
    CHECK(ExpandTokens(some, LocationsOf(folders.run)) == folders.run.appFolder + folders.run.appFolder + folders.run.appFolder);
    std::string growsPast;
    while (growsPast.size() + folders.run.appFolder.size() <= ExpansionLimit) growsPast += "(App)";
    CHECK(ExpandTokens(growsPast, LocationsOf(folders.run)) == growsPast);
}

TEST_CASE("special folders come from the shell; the common ones copy the user's off NT")
{
    const std::string desktop = GetSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    CHECK_FALSE(desktop.empty());
    CHECK(desktop.back() != '\\');
    CHECK(FolderExists(GetSpecialFolder(CSIDL_STARTMENU)));
    CHECK(GetSpecialFolder(0x7FFF).empty());

    RunState run;
    run.platformId = 1;
    LoadShellFolders(run);
    CHECK(run.desktopFolder == desktop + "\\");
    CHECK(run.commonDesktopFolder == run.desktopFolder);
    CHECK(run.commonProgramsFolder == run.programsFolder);
    CHECK(ExpandTokens("(C_Dsk)A", LocationsOf(run)) == run.desktopFolder + "A");
    run.platformId = 2;
    LoadShellFolders(run);
    CHECK(run.commonDesktopFolder == GetSpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\");
    CHECK(run.commonDesktopFolder != run.desktopFolder);
}

TEST_CASE("the system folders of the run state")
{
    RunState run;
    CHECK(LoadSystemFolders(run).empty());
    CHECK(run.platformId == 2);
    CHECK(run.appFolder == "(App)");
    CHECK(run.windowsFolder.back() == '\\');
    CHECK(run.systemFolder.back() == '\\');
    CHECK(run.tempFolder.back() == '\\');
    CHECK(run.sourceFolder.back() == '\\');
    CHECK(FileExists(run.sourceFolder + "unit_tests.exe"));
    CHECK(FolderExists(run.programFilesFolder));
    CHECK(run.bootRoot == run.windowsFolder.substr(0, 2) + "\\");
    CHECK(run.sourceRoot == run.sourceFolder.substr(0, 2) + "\\");
    CHECK(run.programsFolder.back() == '\\');
}

TEST_CASE("SystemErrorText gives one full-width line ended by CR LF")
{
    CHECK(SystemErrorText(0).empty());
    const std::string text = SystemErrorText(ERROR_FILE_NOT_FOUND);
    REQUIRE(text.size() > 2);
    CHECK(text.substr(text.size() - 2) == "\r\n");
    const std::string line = text.substr(0, text.size() - 2);
    CHECK(line.find('\r') == std::string::npos);
    CHECK(line.find('\n') == std::string::npos);
    CHECK(line.back() != '.');
    // Full width: every character is a two-byte one.
    for (size_t i = 0; i < line.size(); ++i) {
        CAPTURE(i);
        REQUIRE(IsLeadByte(static_cast<unsigned char>(line[i])));
        ++i;
    }
    CHECK(SystemErrorText(ERROR_ACCESS_DENIED) != text);
}
