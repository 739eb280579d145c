// SETUP.EXE as its own process on a distribution folder made by the test,
// driven from outside through its windows as a person would drive it.
#include <doctest/doctest.h>

#include "driver/Driver.h"
#include "support/Fixtures.h"
#include "support/Scratch.h"
#include "windows/ControlIds.h"

#include <windows.h>

#include <string>

namespace {

const std::string SettingsLine = "※　処理を開始する前に，必ずすべてのプログラムを終了させてください．";
const std::string QuitQuestion = "セットアップ・アンセットアップは終了していません．\r終了してもよろしいですか？";

// A distribution folder: SETUP.EXE copied beside the files the test writes,
// and a temporary folder of the run's own.
struct Distribution {
    ScratchFolder folder{"e2e"};
    ScratchFolder temp{"e2etmp"};

    Distribution() { REQUIRE(CopyFixture(ProgramFolder() + "SETUP.EXE", folder / "SETUP.EXE")); }
    std::string Program() const { return folder / "SETUP.EXE"; }
    std::string WorkFolder(int n) const { return temp.Path() + "OVTMP" + std::to_string(n) + "\\"; }
};

bool FolderPresent(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The windows of a running SETUP.EXE once its main window has settled on a
// screen: shown, with the action button carrying `caption`.
struct Screen {
    HWND back = nullptr;
    HWND main = nullptr;

    HWND Control(int id) const { return ControlOf(main, id); }
    std::string Text(int id) const { return TextOf(Control(id)); }
    bool Shown(int id) const { return IsShown(Control(id)); }
    bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
};

Screen WaitForScreen(const SetupProcess& setup, const std::string& eventCaption)
{
    Screen screen;
    const bool settled = WaitUntil([&] {
        screen.main = FindWindowOf(setup.Id(), "TfrmMain");
        screen.back = FindWindowOf(setup.Id(), "TfrmBack");
        return screen.main != nullptr && screen.back != nullptr &&
               TextOf(ControlOf(screen.main, MainIds::actionButton)) == eventCaption;
    });
    REQUIRE_MESSAGE(settled, "no main window with actionButton " << Utf8(eventCaption));
    return screen;
}

// The caption the background shows for the version of the built executable.
std::string ExpectedBackgroundCaption()
{
    std::string middle = std::to_string(std::stoi(std::to_string(ORV_VERSION_MINOR) + std::to_string(ORV_VERSION_PATCH)));
    if (middle.size() < 2) middle.insert(0, 2 - middle.size(), '0');
    std::string build = std::to_string(ORV_VERSION_TWEAK);
    if (build.size() < 4) build.insert(0, 4 - build.size(), '0');
    return "Orvane Standard Version" + std::to_string(ORV_VERSION_MAJOR) + "." + middle + "(Build:" + build + ")";
}

// Quits through quitButton and the quit question answered Yes.
void QuitWithYes(SetupProcess& setup, const Screen& screen)
{
    Press(screen.Control(MainIds::quitButton));
    HWND box = WaitForMessageBox(setup.Id(), "終了確認");
    REQUIRE(box != nullptr);
    Answer(box, IDYES);
    CHECK(setup.WaitForExit());
}

}  // namespace

TEST_CASE("setup: readme, settings, a second copy, the quit question answered No and then Yes")
{
    Distribution distribution;
    WriteTextFile(distribution.folder / "README.TXT", "ようこそ\r\nWelcome\r\n");
    WriteTextFile(distribution.folder / "SETUP.INI",
                  "[Title]\r\nSetup=表示ソフト\r\n[TopMessage]\r\nMessage1=表示ソフトをセットアップします．\r\n"
                  "[DefaultFolder]\r\nFolder=C:\\表示ソフト\r\n[Readme]\r\nFile=README.TXT\r\nTitle=お読みください\r\n");
    SetupProcess setup(distribution.Program(), "", distribution.temp.Path());
    REQUIRE(setup.Started());

    Screen screen = WaitForScreen(setup, "セットアップ続行(&C)");
    CHECK(TextOf(screen.back) == ExpectedBackgroundCaption());
    CHECK_FALSE(IsWindowEnabled(screen.back));
    CHECK(TextOf(screen.main) == "表示ソフト");
    CHECK(screen.Shown(MainIds::readmeFrame));
    CHECK(screen.Text(MainIds::readmeFrame) == "お読みください");
    CHECK(screen.Text(MainIds::readmeBox) == "ようこそ\r\nWelcome\r\n");
    CHECK_FALSE(screen.Shown(MainIds::messageGroup));
    CHECK(FolderPresent(distribution.WorkFolder(1)));

    Press(screen.Control(MainIds::actionButton));
    screen = WaitForScreen(setup, "セットアップ開始(&S)");
    CHECK_FALSE(screen.Shown(MainIds::readmeFrame));
    CHECK(screen.Shown(MainIds::messageGroup));
    CHECK(screen.Text(MainIds::messageLabel) == "表示ソフトをセットアップします．\r\r\r\r\r\r" + SettingsLine);
    CHECK(TextOf(screen.Control(MainIds::folderBox)) == "C:\\表示ソフト\\");
    CHECK(IsChecked(screen.Control(MainIds::overwriteBox)));

    SUBCASE("a second copy ends at once, without a window, and leaves the first untouched")
    {
        SetupProcess second(distribution.Program(), "", distribution.temp.Path());
        REQUIRE(second.Started());
        bool showedWindow = false;
        const bool ended = WaitUntil([&] {
            showedWindow = showedWindow || HasVisibleWindow(second.Id());
            return !second.Running();
        });
        CHECK(ended);
        CHECK(second.ExitCode() == 1618);  // another copy is running
        CHECK_FALSE(showedWindow);
        CHECK(FindWindowOf(setup.Id(), "TfrmMain") == screen.main);
        CHECK(screen.Text(MainIds::actionButton) == "セットアップ開始(&S)");
        CHECK_FALSE(FolderPresent(distribution.WorkFolder(2)));
        QuitWithYes(setup, screen);
    }
    SUBCASE("No leaves the screen as it was; Yes ends the run and removes the work folder")
    {
        Press(screen.Control(MainIds::quitButton));
        HWND box = WaitForMessageBox(setup.Id(), "終了確認");
        REQUIRE(box != nullptr);
        CHECK(MessageBoxText(box) == QuitQuestion);
        Answer(box, IDNO);
        CHECK(WaitUntil([&] { return FindWindowOf(setup.Id(), "#32770") == nullptr; }));
        CHECK(setup.Running());
        CHECK(IsShown(screen.main));
        // The box's window may go a moment before its owner is enabled again.
        CHECK(WaitUntil([&] { return IsWindowEnabled(screen.main) != FALSE; }));
        CHECK(screen.Text(MainIds::actionButton) == "セットアップ開始(&S)");
        CHECK(screen.Shown(MainIds::messageGroup));
        CHECK(FolderPresent(distribution.WorkFolder(1)));

        QuitWithYes(setup, screen);
        CHECK(setup.ExitCode() == 1602);  // cancelled by the person
        CHECK_FALSE(FolderPresent(distribution.WorkFolder(1)));
    }
}

TEST_CASE("a registry key the system refuses ends the run: its message, the fatal box, the end of the process")
{
    Distribution distribution;
    ScratchFolder app("e2e-regapp");
    // A key name longer than the 255 characters the registry allows.
    const std::string key = "Software\\Orvane\\" + std::string(300, 'K');
    WriteTextFile(distribution.folder / "SETUP.INI",
                  "[Title]\r\nUnSetup=OrvaneRefusedKey\r\n[DefaultFolder]\r\nFolder=" + app.Path() +
                      "\r\n[Registry]\r\nKey1=(Cuser)" + key + "\r\nName1=\r\nValue1=(Str)x\r\n");
    SetupProcess setup(distribution.Program(), "", distribution.temp.Path());
    REQUIRE(setup.Started());
    Screen screen = WaitForScreen(setup, "セットアップ開始(&S)");
    Press(screen.Control(MainIds::actionButton));

    HWND error = WaitForMessageBox(setup.Id(), "Orvane Standard");
    REQUIRE(error != nullptr);
    CHECK(MessageBoxText(error) == "ｷｰ " + key + " の作成に失敗しました");
    Answer(error, IDOK);
    HWND fatal = WaitForMessageBox(setup.Id(), "致命的エラー");
    REQUIRE(fatal != nullptr);
    CHECK(MessageBoxText(fatal) == "セットアップを続行できませんでした．");
    CHECK(FindWindowOf(setup.Id(), "TfrmStatus") == nullptr);
    Answer(fatal, IDOK);
    // Nothing waits for an abort press: the process ends by itself.
    CHECK(setup.WaitForExit());
    CHECK_FALSE(PathExists(app / "UNSETUP.INI"));
}

TEST_CASE("without SETUP.INI the fatal screen closes without a question")
{
    Distribution distribution;
    SetupProcess setup(distribution.Program(), "", distribution.temp.Path());
    REQUIRE(setup.Started());
    Screen screen = WaitForScreen(setup, "セットアップ開始(&S)");
    CHECK(screen.Text(MainIds::messageLabel) == "【致命的エラー  →  iniファイル読み込み失敗】\r\r"
                                              "セットアップ・アンセットアップ(アンインストール)は続行できません．");
    CHECK_FALSE(screen.Enabled(MainIds::actionButton));
    CHECK(screen.Text(MainIds::quitButton) == "終了(&E)");
    CHECK(TextOf(screen.main) == "Orvane");

    Press(screen.Control(MainIds::quitButton));
    bool asked = false;
    const bool ended = WaitUntil([&] {
        asked = asked || FindWindowOf(setup.Id(), "#32770") != nullptr;
        return !setup.Running();
    });
    CHECK(ended);
    CHECK_FALSE(asked);
    CHECK_FALSE(FolderPresent(distribution.WorkFolder(1)));
}

TEST_CASE("started with the path of an uninstall record, the uninstall screen shows")
{
    Distribution distribution;
    ScratchFolder setupFolder("表示 app");
    const std::string record = setupFolder / "UNSETUP.INI";
    WriteTextFile(record, "[Title]\r\nSetup=表示ソフト\r\nUnSetup=表示ソフトの削除\r\n[SetupFolder]\r\nFolder=" +
                              setupFolder.Path() + "\r\n[UnSetupOption]\r\nCheckBox=DeleteAll\r\n");
    SetupProcess setup(distribution.Program(), record, distribution.temp.Path());
    REQUIRE(setup.Started());
    Screen screen = WaitForScreen(setup, "アンセットアップ開始(&S)");
    CHECK(TextOf(screen.main) == "表示ソフトの削除");
    CHECK(screen.Text(MainIds::quitButton) == "アンセットアップ終了(&E)");
    CHECK(TextOf(screen.Control(MainIds::folderBox)) == setupFolder.Path());
    CHECK(screen.Text(MainIds::desktopBox) == "アンセットアップ(アンインストール)フォルダ以下の全ファイル・フォルダ");
    CHECK(IsChecked(screen.Control(MainIds::desktopBox)));
    CHECK_FALSE(screen.Shown(MainIds::startMenuBox));
    CHECK_FALSE(screen.Shown(MainIds::overwriteBox));
    CHECK(screen.Shown(MainIds::uninstallInfoLabel));
    CHECK(PathExists(distribution.WorkFolder(1) + "UNSETUP.INI"));
    QuitWithYes(setup, screen);
}

TEST_CASE("a person's run follows /DIR= and /NOICONS; a bad switch shows the usage and ends with 87")
{
    Distribution distribution;
    WriteTextFile(distribution.folder / "SETUP.INI",
                  "[Title]\r\n[DefaultFolder]\r\nFolder=C:\\表示ソフト\r\n[ShortCut]\r\nMake1=(App)\\A.EXE\r\nName1=(Dsk)\\A\r\n");
    SUBCASE("the folder box and the shortcut boxes as the switches say")
    {
        SetupProcess setup(ExactCommandLine{Quoted(distribution.Program()) + " /dir=\"(Win)表示\" /NOICONS"},
                           distribution.temp.Path());
        REQUIRE(setup.Started());
        const Screen screen = WaitForScreen(setup, "セットアップ開始(&S)");
        char windows[MAX_PATH] = {};
        GetWindowsDirectoryA(windows, MAX_PATH);
        CHECK(screen.Text(MainIds::folderBox) == std::string(windows) + "\\表示\\");
        for (int box : {MainIds::desktopBox, MainIds::startMenuBox, MainIds::startUpBox, MainIds::sendToBox})
            CHECK_FALSE(IsChecked(screen.Control(box)));
        CHECK(IsChecked(screen.Control(MainIds::overwriteBox)));
        QuitWithYes(setup, screen);
        CHECK(setup.ExitCode() == 1602);
    }
    SUBCASE("a switch that is not understood")
    {
        SetupProcess setup(ExactCommandLine{Quoted(distribution.Program()) + " /SILNET"}, distribution.temp.Path());
        REQUIRE(setup.Started());
        HWND box = WaitForMessageBox(setup.Id(), "Orvane Setup");
        REQUIRE(box != nullptr);
        CHECK(MessageBoxText(box).rfind("SETUP.EXE [スイッチ]\r\n", 0) == 0);
        CHECK(FindWindowOf(setup.Id(), "TfrmMain") == nullptr);
        Answer(box, IDOK);
        REQUIRE(setup.WaitForExit());
        CHECK(setup.ExitCode() == 87);
        CHECK_FALSE(FolderPresent(distribution.WorkFolder(1)));
    }
}
