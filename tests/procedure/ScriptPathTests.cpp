// Folders, files and shortcuts of a script that name no place on the machine
// (relative paths, mangled tokens, thousands of tokens in one value) are
// skipped with a line in the failure report; nothing is made in the current
// folder or anywhere outside.
#include <doctest/doctest.h>

#include "InstallFixture.h"
#include "support/Utf8.h"

#include <windows.h>

namespace {

std::string Skipped(const std::string& tag, const std::string& path, const std::string& reason)
{
    return tag + path + "\r\n" + reason + "\r\n\r\n";
}

std::string CurrentFolder()
{
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    return std::string(current) + "\\";
}

}  // namespace

TEST_CASE("script paths that name no place are skipped and reported; nothing is made outside")
{
    InstallFixture fixture;
    fixture.AddSource("A.TXT", "a");
    std::string chain;
    for (int n = 0; n < 5000; ++n) chain += "(App)";
    const std::string shortChain = "X(App)(App)(App)";
    fixture.Prepare("[MakeFolder]\r\nFolder1=RELATIVE_DIR\r\nFolder2=(Bin)ABC\r\nFolder3=,,,,\r\nFolder4=(App)DATA\r\n"
                    "[CopyFile]\r\nFile1=RELATIVE_DIR\\A.TXT\r\nFile2=()C:\\A.TXT\r\nFile3=(App)A.TXT\r\n"
                    "[ShortCut]\r\nMake1=(App)A.TXT\r\nName1=" + chain + "\r\n"
                    "Make2=(App)A.TXT\r\nName2=" + shortChain + "\r\n");
    const std::string app = fixture.app;
    const std::string current = CurrentFolder();

    CHECK(fixture.Install() == Flow::GoOn);

    const std::string notAbsolute = "絶対パスではないため，処理をスキップしました．";
    const std::string expected =
        Skipped("<Folder> ", "RELATIVE_DIR\\", notAbsolute) + Skipped("<Folder> ", "(Bin)ABC\\", notAbsolute) +
        Skipped("<Folder> ", ",,,,\\", notAbsolute) + Skipped("<File> ", "RELATIVE_DIR\\A.TXT", notAbsolute) + Skipped("<File> ", "()C:\\A.TXT", notAbsolute) +
        Skipped("<ShortCut> ", chain.substr(0, 80) + "．．．", "パスが長すぎるため，処理をスキップしました．") +
        Skipped("<ShortCut> ", "X" + app + app + app, notAbsolute);
    CHECK(Utf8(fixture.install.failures.Text()) == Utf8(expected));
    CHECK(PathExists(app + "DATA"));
    CHECK(ReadTextFile(app + "A.TXT") == "a");
    CHECK(fixture.install.lists.deleteFileList == std::vector<std::string>{app + "A.TXT", fixture.state.unSetupPath});
    CHECK(fixture.install.lists.deleteShortCutList.empty());
    // "X" and the drive: where the short chain would have begun its folders.
    const std::string strayChain = std::string("X").append(app, 0, 2);
    for (const std::string& stray : std::vector<std::string>{"RELATIVE_DIR", "(Bin)ABC", ",,,,", "()C:", "A.TXT", strayChain}) {
        CAPTURE(stray);
        CHECK_FALSE(PathExists(current + stray));
    }
    CHECK_FALSE(PathExists(fixture.shell.Path() + "Start Menu"));
    fixture.status.Hide();
}
