// The start-up in both modes: the run state it fills, the work folder, the
// header keys and their defaults, and the exact texts and states of the
// first screen (settings, readme, uninstall, fatal).
#include <doctest/doctest.h>

#include "RunFixture.h"
#include "app/RunStart.h"
#include "app/SystemFolders.h"
#include "services/FileOps.h"
#include "support/ScratchRegistry.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

const std::string SettingsLine = "※　処理を開始する前に，必ずすべてのプログラムを終了させてください．";
const std::string CannotContinue = "セットアップ・アンセットアップ(アンインストール)は続行できません．";
const std::string IniFailure = "【致命的エラー  →  iniファイル読み込み失敗】";

bool ScrollStyle(const Window& window, LONG_PTR bits)
{
    return (GetWindowLongPtrA(window.Handle(), GWL_STYLE) & bits) == bits;
}

// A string value in a registry key of the test's own.
void SetString(const ScratchKey& key, const std::string& name, const std::string& value)
{
    REQUIRE(StoreValue(key.Root(), key.Path(), name, REG_SZ, value + '\0'));
}

// `sections` follow a [Title] section: a script with neither it nor
// [CopyFile] is refused.
std::string ProposedFolderFor(const std::string& sections)
{
    RunFixture fixture;
    fixture.WriteScript("[Title]\r\n" + sections);
    fixture.Start();
    return fixture.main.folderBox.Text();
}

}  // namespace

TEST_CASE("a script without messages starts on the settings screen with the default texts")
{
    RunFixture fixture;
    fixture.WriteScript("[Title]\r\nSetup=テスト表示\r\n");
    fixture.Start();
    MainWindow& main = fixture.main;

    CHECK(fixture.state.runMode == "SETUP");
    CHECK(fixture.state.sourceFolder == fixture.source.Path());
    CHECK(fixture.state.workFolder == fixture.WorkFolder(1));
    CHECK(fixture.state.scriptPath == fixture.WorkFolder(1) + "SETUP.INI");
    CHECK(FileExists(fixture.state.scriptPath));
    CHECK(fixture.state.appFolder == "(App)");
    CHECK(fixture.state.setupSpeed == 400);
    CHECK(fixture.state.setupTitle == "テスト表示");
    CHECK(fixture.state.unSetupTitle == "テスト表示");

    CHECK(main.messageLabel.Text() == "セットアップを行います．\r\r" + SettingsLine);
    CHECK(fixture.state.topMessageText == main.messageLabel.Text());
    CHECK(main.Text() == "テスト表示");
    CHECK(fixture.back.bannerLabel1.Text() == "テスト表示");
    CHECK(fixture.back.bannerLabel2.Text() == "テスト表示");
    CHECK(fixture.back.bannerLabel1.Width() == fixture.back.Width() - 24);
    CHECK(fixture.back.bannerLabel2.Width() == fixture.back.Width() - 24);
    CHECK(main.folderBox.Text() == fixture.state.programFilesFolder);

    CHECK(main.actionButton.Text() == "セットアップ開始(&S)");
    CHECK(main.actionButton.Enabled());
    CHECK(main.quitButton.Text() == "セットアップ終了(&E)");
    CHECK(main.quitButton.Enabled());
    CHECK_FALSE(main.readmeFrame.Visible());
    CHECK(main.messageGroup.Visible());
    CHECK(main.folderGroup.Visible());
    CHECK(main.optionGroup.Visible());
    CHECK(main.folderBox.Enabled());
    CHECK(main.browseButton.Enabled());
    CHECK(main.overwriteBox.Enabled());
    CHECK(main.overwriteBox.Checked());
    // No shortcut is named: the four boxes stay checked and disabled.
    for (CheckBox* box : {&main.desktopBox, &main.startMenuBox, &main.startUpBox, &main.sendToBox}) {
        CHECK(box->Checked());
        CHECK_FALSE(box->Enabled());
    }
    CHECK_FALSE(main.CloseItemEnabled());
}

TEST_CASE("the message text is the five message lines, each ended by a carriage return")
{
    RunFixture fixture;
    SUBCASE("only Message1")
    {
        fixture.WriteScript("[Title]\r\n[TopMessage]\r\nMessage1=ABC\r\n");
        fixture.Start();
        CHECK(fixture.main.messageLabel.Text() == "ABC\r\r\r\r\r\r" + SettingsLine);
    }
    SUBCASE("lines with gaps")
    {
        fixture.WriteScript("[Title]\r\n[TopMessage]\r\nMessage1=一行目\r\nMessage3=三行目\r\nMessage6=not read\r\n");
        fixture.Start();
        CHECK(fixture.main.messageLabel.Text() == "一行目\r\r三行目\r\r\r\r" + SettingsLine);
    }
}

TEST_CASE("SetupSpeed: an integer as the script's values are read; below 1 becomes 1, missing or none gives 400")
{
    const std::pair<const char*, int> cases[] = {
        {"[Title]\r\n[Extend]\r\nSetupSpeed=0\r\n", 1},      {"[Title]\r\n[Extend]\r\nSetupSpeed=-5\r\n", 1},
        {"[Title]\r\nSetup=X\r\n", 400},                     {"[Title]\r\n[Extend]\r\nSetupSpeed=fast\r\n", 400},
        {"[Title]\r\n[Extend]\r\nSetupSpeed=12ms\r\n", 400}, {"[Title]\r\n[Extend]\r\nSetupSpeed=99999999999\r\n", 400},
        {"[Title]\r\n[Extend]\r\nSetupSpeed=250\r\n", 250},  {"[Title]\r\n[Extend]\r\nSetupSpeed=$FA\r\n", 250},
    };
    for (const auto& [script, speed] : cases) {
        CAPTURE(script);
        RunFixture fixture;
        fixture.WriteScript(script);
        fixture.Start();
        CHECK(fixture.state.setupSpeed == speed);
        // The start-up went on to the end all the same.
        CHECK(fixture.main.actionButton.Text() == "セットアップ開始(&S)");
    }
}

TEST_CASE("[Extend] Enabled: only \"False\" locks the folder, browse, overwrite and shortcut boxes")
{
    for (const auto& [value, usable] : {std::pair{"False", false}, std::pair{"false", true}}) {
        CAPTURE(value);
        RunFixture fixture;
        fixture.WriteScript(std::string("[Title]\r\n[Extend]\r\nEnabled=") + value + "\r\n[ShortCut]\r\nName1=(Dsk)\\App\r\n");
        fixture.Start();
        CHECK(fixture.main.folderBox.Enabled() == usable);
        CHECK(fixture.main.browseButton.Enabled() == usable);
        CHECK(fixture.main.overwriteBox.Enabled() == usable);
        CHECK(fixture.main.desktopBox.Enabled() == usable);
        CHECK(fixture.main.actionButton.Enabled());
    }
}

TEST_CASE("shortcut boxes are enabled when they govern a name, by the install's rule, up to the first empty name")
{
    RunFixture fixture;
    MainWindow& main = fixture.main;
    SUBCASE("common and per-user folders; a name with several kinds is governed by the first")
    {
        fixture.WriteScript("[Title]\r\n[ShortCut]\r\nName1=(C_Dsk)\\App\r\nName2=(sup)\\A,(Sen)\\B\r\n");
        fixture.Start();
        CHECK(main.desktopBox.Enabled());
        CHECK_FALSE(main.startMenuBox.Enabled());
        CHECK(main.startUpBox.Enabled());
        CHECK_FALSE(main.sendToBox.Enabled());
    }
    SUBCASE("the scan ends at an empty name; Default is governed by the Start menu box")
    {
        fixture.WriteScript("[Title]\r\n[ShortCut]\r\nName1=Default\r\nName2=\r\nName3=(Dsk)\\App\r\n");
        fixture.Start();
        CHECK(main.startMenuBox.Enabled());
        CHECK_FALSE(main.desktopBox.Enabled());
        CHECK(main.desktopBox.Checked());
    }
}

TEST_CASE("the proposed folder: script, OVSET98.INI by program ID, then ReferRegistry")
{
    SUBCASE("the default and a script folder, tokens expanded, (App) left in place")
    {
        RunState machine;
        LoadSystemFolders(machine);
        CHECK(ProposedFolderFor("[Title]\r\nSetup=A\r\n") == machine.programFilesFolder);
        CHECK(ProposedFolderFor("[DefaultFolder]\r\nFolder=(Prg)Sub\r\n") == machine.programFilesFolder + "Sub\\");
        CHECK(ProposedFolderFor("[DefaultFolder]\r\nFolder=C:\\Apps\\Tool\r\n") == "C:\\Apps\\Tool\\");
        CHECK(ProposedFolderFor("[DefaultFolder]\r\nFolder=(App)\\Sub\r\n") == "(App)\\Sub\\");
    }
    SUBCASE("an earlier install of the same program ID")
    {
        RunFixture fixture;
        WriteTextFile(fixture.windows / "OVSET98.INI", "[Viewer]\r\nFolder=D:\\Earlier\\Viewer\\\r\n");
        fixture.WriteScript("[Title]\r\n[ProgramID]\r\nID=Viewer\r\n[DefaultFolder]\r\nFolder=C:\\New\\\r\n");
        fixture.Start();
        CHECK(fixture.state.programId == "Viewer");
        CHECK(fixture.main.folderBox.Text() == "D:\\Earlier\\Viewer\\");
    }
    SUBCASE("a program ID without an earlier install keeps the script's folder")
    {
        RunFixture fixture;
        WriteTextFile(fixture.windows / "OVSET98.INI", "[Other]\r\nFolder=D:\\Other\\\r\n");
        fixture.WriteScript("[Title]\r\n[ProgramID]\r\nID=Viewer\r\n[DefaultFolder]\r\nFolder=C:\\New\\\r\n");
        fixture.Start();
        CHECK(fixture.main.folderBox.Text() == "C:\\New\\");
    }
    SUBCASE("ReferRegistry with and without root token and value name")
    {
        const ScratchKey user(HKEY_CURRENT_USER, "StartUp");
        SetString(user, "", "C:\\FromDefault");
        SetString(user, "Path", "C:\\FromUser\\");
        SetString(user, "Empty", "");
        const ScratchKey machine(HKEY_LOCAL_MACHINE, "StartUp");
        SetString(machine, "Path", "C:\\FromMachine");
        const auto proposed = [](const std::string& referRegistry) {
            return ProposedFolderFor("[DefaultFolder]\r\nFolder=C:\\Script\\\r\nReferRegistry=" + referRegistry + "\r\n");
        };
        CHECK(proposed("(Local)\\" + machine.Path() + ",Path") == "C:\\FromMachine\\");
        CHECK(proposed("(Local)" + machine.Path() + "\\,Path") == "C:\\FromMachine\\");
        CHECK(proposed(user.Path() + ",Path") == "C:\\FromUser\\");
        CHECK(proposed(user.Path()) == "C:\\FromDefault\\");
        CHECK(proposed("(Cuser)\\" + user.Path()) == "C:\\FromDefault\\");
        // A ")" as seventh character alone makes a token: an unknown one,
        // which means HKEY_CURRENT_USER.
        CHECK(proposed("Cuser:)" + user.Path() + ",Path") == "C:\\FromUser\\");
        // Lower case is no token: HKEY_CURRENT_USER, where this key is missing.
        CHECK(proposed("(local)" + machine.Path() + ",Path") == "C:\\Script\\");
        CHECK(proposed("(Local)\\" + machine.Path() + ",Missing") == "C:\\Script\\");
        CHECK(proposed(user.Path() + ",Empty") == "C:\\Script\\");
        CHECK(proposed(user / "NoSuchKey,Path") == "C:\\Script\\");
    }
}

TEST_CASE("the readme screen: with or without a leading backslash, its title and scroll bars")
{
    RunFixture fixture;
    MainWindow& main = fixture.main;
    WriteTextFile(fixture.source / "お読み表.TXT", "一行目\n二行目\r\nEnd");
    SUBCASE("a leading backslash, the default scroll bar")
    {
        fixture.WriteScript("[Title]\r\n[Readme]\r\nFile=\\お読み表.TXT\r\nTitle=はじめに\r\n");
        fixture.Start();
        CHECK(main.actionButton.Text() == "セットアップ続行(&C)");
        CHECK(main.actionButton.Enabled());
        CHECK(main.quitButton.Text() == "セットアップ終了(&E)");
        CHECK(main.quitButton.Enabled());
        CHECK(main.readmeFrame.Visible());
        CHECK(main.readmeFrame.Text() == "はじめに");
        CHECK_FALSE(main.messageGroup.Visible());
        CHECK_FALSE(main.folderGroup.Visible());
        CHECK_FALSE(main.optionGroup.Visible());
        CHECK(main.readmeBox.Text() == "一行目\r\n二行目\r\nEnd");
        CHECK(ScrollStyle(main.readmeBox, WS_VSCROLL));
        CHECK_FALSE(ScrollStyle(main.readmeBox, WS_HSCROLL));
        CHECK(GetFocus() == main.actionButton.Handle());
    }
    SUBCASE("no backslash, horizontal bar")
    {
        fixture.WriteScript("[Title]\r\n[Readme]\r\nFile=お読み表.TXT\r\nScrollBars=ssHorizontal\r\n");
        fixture.Start();
        CHECK(main.readmeFrame.Visible());
        CHECK(main.readmeFrame.Text().empty());
        CHECK(ScrollStyle(main.readmeBox, WS_HSCROLL));
        CHECK_FALSE(ScrollStyle(main.readmeBox, WS_VSCROLL));
        CHECK(main.readmeBox.Text() == "一行目\r\n二行目\r\nEnd");
    }
    SUBCASE("both bars; an unknown value leaves the vertical one")
    {
        fixture.WriteScript("[Title]\r\n[Readme]\r\nFile=お読み表.TXT\r\nScrollBars=ssBoth\r\n");
        fixture.Start();
        CHECK(ScrollStyle(main.readmeBox, WS_HSCROLL | WS_VSCROLL));
        RunFixture other;
        WriteTextFile(other.source / "R.TXT", "x");
        other.WriteScript("[Title]\r\n[Readme]\r\nFile=R.TXT\r\nScrollBars=ssNone\r\n");
        other.Start();
        CHECK(ScrollStyle(other.main.readmeBox, WS_VSCROLL));
        CHECK_FALSE(ScrollStyle(other.main.readmeBox, WS_HSCROLL));
    }
    SUBCASE("a full path or a missing file gives the settings screen")
    {
        fixture.WriteScript("[Title]\r\n[Readme]\r\nFile=" + fixture.source.Path() + "お読み表.TXT\r\n");
        fixture.Start();
        CHECK(main.actionButton.Text() == "セットアップ開始(&S)");
        CHECK_FALSE(main.readmeFrame.Visible());
        CHECK(main.messageGroup.Visible());
    }
}

TEST_CASE("the uninstall screen from the record's [UnSetupOption] CheckBox")
{
    RunFixture fixture;
    MainWindow& main = fixture.main;
    const std::string record = fixture.source / "UNSETUP.INI";
    const std::string header =
        "[Title]\r\nSetup=表示ソフト\r\nUnSetup=表示ソフトの削除\r\n[SetupFolder]\r\nFolder=C:\\Program Files\\表示\\\r\n";
    const auto checkCommon = [&] {
        CHECK(fixture.state.runMode == "UNSETUP");
        CHECK(fixture.state.scriptPath == fixture.WorkFolder(1) + "UNSETUP.INI");
        CHECK(main.Text() == "表示ソフトの削除");
        CHECK(fixture.back.bannerLabel1.Text() == "表示ソフトの削除");
        CHECK(main.messageLabel.Text() == "アンセットアップ(アンインストール)を行います．\r\r"
                                        "開始するには，「アンセットアップ開始(S)」を選択してください．\r");
        CHECK(main.folderGroup.Text() == "アンセットアップ(アンインストール)フォルダ");
        CHECK(main.folderBox.Text() == "C:\\Program Files\\表示\\");
        CHECK(main.folderBox.ReadOnly());
        CHECK(main.folderBox.Enabled());
        CHECK_FALSE(main.browseButton.Enabled());
        CHECK(main.actionButton.Text() == "アンセットアップ開始(&S)");
        CHECK(main.actionButton.Enabled());
        CHECK(main.quitButton.Text() == "アンセットアップ終了(&E)");
        CHECK(main.quitButton.Enabled());
        CHECK(main.optionGroup.Text() == "アンセットアップ(アンインストール)オプション");
        CHECK_FALSE(main.overwriteBox.Visible());
        CHECK(main.shortcutFrame.Text() == "ファイルの追加削除");
        CHECK(main.shortcutFrame.Top() == 16);
        CHECK(main.shortcutFrame.Height() == 89 - 24);
        CHECK(main.uninstallInfoLabel.Visible());
        CHECK(main.uninstallInfoLabel.Top() == 16 + 17 + 2);
        CHECK(main.uninstallInfoLabel.Text() == "　アンセットアップ(アンインストール)フォルダの中で，コピーされたファイル以外に"
                                            "追加削除するファイルをチェック(選択)してください．");
        CHECK(main.messageGroup.Visible());
        CHECK_FALSE(main.readmeFrame.Visible());
    };
    SUBCASE("DeleteAll")
    {
        WriteTextFile(record, header + "[UnSetupOption]\r\nCheckBox=DeleteAll\r\n");
        fixture.Start(record);
        checkCommon();
        CHECK(main.desktopBox.Text() == "アンセットアップ(アンインストール)フォルダ以下の全ファイル・フォルダ");
        CHECK(main.desktopBox.Width() == 457 - 16);
        CHECK(main.desktopBox.Checked());
        CHECK(main.desktopBox.Enabled());
        for (CheckBox* box : {&main.startMenuBox, &main.startUpBox, &main.sendToBox}) {
            CHECK_FALSE(box->Checked());
            CHECK_FALSE(box->Visible());
        }
        CHECK(fixture.run.DeleteAllForm());
    }
    SUBCASE("deleteall is read as flags")
    {
        WriteTextFile(record, header + "[UnSetupOption]\r\nCheckBox=deleteall\r\n");
        fixture.Start(record);
        checkCommon();
        CHECK(main.desktopBox.Text() == "*.INIファイル");
        CHECK_FALSE(main.desktopBox.Checked());
        CHECK(main.startMenuBox.Text() == "*.GIDファイル");
        CHECK_FALSE(main.startMenuBox.Checked());
        CHECK_FALSE(fixture.run.DeleteAllForm());
    }
    SUBCASE("1,0 checks only the first box")
    {
        WriteTextFile(record, header + "[UnSetupOption]\r\nCheckBox=1,0\r\n");
        fixture.Start(record);
        checkCommon();
        CHECK(main.desktopBox.Text() == "*.INIファイル");
        CHECK(main.desktopBox.Checked());
        CHECK(main.desktopBox.Enabled());
        CHECK(main.startMenuBox.Text() == "*.GIDファイル");
        CHECK_FALSE(main.startMenuBox.Checked());
        CHECK(main.startMenuBox.Enabled());
        for (CheckBox* box : {&main.startUpBox, &main.sendToBox}) {
            CHECK(box->Text().empty());
            CHECK_FALSE(box->Checked());
            CHECK_FALSE(box->Enabled());
            CHECK(box->Visible());
        }
    }
    SUBCASE("all four flags, a missing key reads as none")
    {
        WriteTextFile(record, header + "[UnSetupOption]\r\nCheckBox=1,1,1,1\r\n");
        fixture.Start(record);
        for (CheckBox* box : {&main.desktopBox, &main.startMenuBox, &main.startUpBox, &main.sendToBox})
            CHECK(box->Checked());
        RunFixture other;
        const std::string otherRecord = other.source / "UNSETUP.INI";
        WriteTextFile(otherRecord, header);
        other.Start(otherRecord);
        CHECK_FALSE(other.main.desktopBox.Checked());
        CHECK_FALSE(other.main.startMenuBox.Checked());
    }
}

TEST_CASE("the mode follows the file name of the first argument, exactly")
{
    RunFixture fixture;
    fixture.WriteScript("[Title]\r\nSetup=A\r\n");
    SUBCASE("a lower-case record name means setup")
    {
        WriteTextFile(fixture.source / "unsetup.ini", "[Title]\r\nSetup=B\r\n");
        fixture.Start(fixture.source / "unsetup.ini");
        CHECK(fixture.state.runMode == "SETUP");
        CHECK(fixture.main.Text() == "A");
    }
    SUBCASE("a record that does not exist gives the uninstall mode's fatal screen")
    {
        fixture.Start("C:\\nowhere\\UNSETUP.INI");
        CHECK(fixture.state.runMode == "UNSETUP");
        CHECK(fixture.main.messageLabel.Text() == IniFailure + "\r\r" + CannotContinue);
    }
}

TEST_CASE("the fatal screen names each missing piece in order and reads no header")
{
    RunFixture fixture;
    MainWindow& main = fixture.main;
    SUBCASE("no SETUP.INI")
    {
        fixture.Start();
        CHECK(main.messageLabel.Text() == IniFailure + "\r\r" + CannotContinue);
    }
    SUBCASE("no Windows or system folder, and no script")
    {
        fixture.Start("", "【致命的エラー  →  Windowsフォルダ取得失敗】\r【致命的エラー  →  WindowsSystemフォルダ取得失敗】\r");
        CHECK(main.messageLabel.Text() == "【致命的エラー  →  Windowsフォルダ取得失敗】\r"
                                        "【致命的エラー  →  WindowsSystemフォルダ取得失敗】\r" +
                                            IniFailure + "\r\r" + CannotContinue);
    }
    SUBCASE("no system folder, with a script")
    {
        fixture.WriteScript("[Title]\r\nSetup=Never read\r\n");
        fixture.Start("", "【致命的エラー  →  WindowsSystemフォルダ取得失敗】\r");
        CHECK(main.messageLabel.Text() == "【致命的エラー  →  WindowsSystemフォルダ取得失敗】\r\r" + CannotContinue);
    }
    CHECK(main.actionButton.Text() == "セットアップ開始(&S)");
    CHECK_FALSE(main.actionButton.Enabled());
    CHECK(main.quitButton.Text() == "終了(&E)");
    CHECK(main.quitButton.Enabled());
    CHECK(main.Text() == "Orvane");
    CHECK(fixture.back.bannerLabel1.Text() == "  ");
    CHECK(fixture.back.bannerLabel2.Text() == "  ");
    CHECK(main.messageGroup.Visible());
    CHECK(main.folderGroup.Visible());
    CHECK(main.optionGroup.Visible());
    CHECK_FALSE(main.readmeFrame.Visible());
    CHECK_FALSE(main.folderBox.Enabled());
    CHECK_FALSE(main.overwriteBox.Enabled());
    CHECK(main.folderBox.Text().empty());
}

TEST_CASE("the work folder is the first free OVTMP number; with all 99 taken it is number 99")
{
    RunFixture fixture;
    fixture.WriteScript("[Title]\r\nSetup=A\r\n");
    SUBCASE("number 1 left by an earlier run")
    {
        CreateDirectoryA(fixture.WorkFolder(1).c_str(), nullptr);
        fixture.Start();
        CHECK(fixture.state.workFolder == fixture.WorkFolder(2));
        CHECK(FileExists(fixture.WorkFolder(2) + "SETUP.INI"));
    }
    SUBCASE("all taken")
    {
        for (int n = 1; n <= 99; ++n) CreateDirectoryA(fixture.WorkFolder(n).c_str(), nullptr);
        fixture.Start();
        CHECK(fixture.state.workFolder == fixture.WorkFolder(99));
        CHECK(FileExists(fixture.WorkFolder(99) + "SETUP.INI"));
    }
}

TEST_CASE("the close removes each work folder OVTMP1 to OVTMP99 in any case, and nothing else of that name")
{
    RunFixture fixture;
    const std::string temp = fixture.temp.Path();
    const std::vector<std::string> workFolders = {"OVTMP1", "ovtmp7", "OvTmP42", "OVTMP99"};
    const std::vector<std::string> others = {"OVTMP0", "OVTMP03", "OVTMP100", "OVTMP7X", "OVTMPA", "OVTMP"};
    for (const std::string& name : workFolders) {
        REQUIRE(CreateDirectoryA((temp + name).c_str(), nullptr));
        WriteTextFile(temp + name + "\\LEFT.TXT", "left by a crashed run");
    }
    for (const std::string& name : others) REQUIRE(CreateDirectoryA((temp + name).c_str(), nullptr));
    // A file of a work folder's name is no work folder.
    WriteTextFile(temp + "OVTMP5", "a file");

    MachineFolders machine;
    machine.tempFolder = temp;
    CloseRun(machine);

    for (const std::string& name : workFolders) {
        CAPTURE(name);
        CHECK_FALSE(PathExists(temp + name));
    }
    for (const std::string& name : others) {
        CAPTURE(name);
        CHECK(FolderExists(temp + name + "\\"));
    }
    CHECK(FileExists(temp + "OVTMP5"));
}

TEST_CASE("a script or record left in a reused work folder never stands in for the missing one")
{
    RunFixture fixture;
    for (int n = 1; n <= 99; ++n) CreateDirectoryA(fixture.WorkFolder(n).c_str(), nullptr);
    SUBCASE("setup without SETUP.INI")
    {
        WriteTextFile(fixture.WorkFolder(99) + "SETUP.INI", "[Title]\r\nSetup=Another setup\r\n");
        fixture.Start();
    }
    SUBCASE("uninstall of a record that does not exist")
    {
        WriteTextFile(fixture.WorkFolder(99) + "UNSETUP.INI", "[SetupFolder]\r\nFolder=C:\\Another\\\r\n");
        fixture.Start(fixture.source / "UNSETUP.INI");
    }
    CHECK(fixture.main.messageLabel.Text() == IniFailure + "\r\r" + CannotContinue);
    CHECK_FALSE(fixture.main.actionButton.Enabled());
}

TEST_CASE("activating the main window again changes nothing")
{
    RunFixture fixture;
    fixture.WriteScript("[Title]\r\nSetup=First\r\n");
    fixture.Start();
    fixture.WriteScript("[Title]\r\nSetup=Second\r\n");
    SendMessageA(fixture.main.Handle(), WM_ACTIVATE, WA_ACTIVE, 0);
    CHECK(fixture.main.Text() == "First");
    CHECK(fixture.state.workFolder == fixture.WorkFolder(1));
    CHECK_FALSE(FolderExists(fixture.WorkFolder(2)));
}
