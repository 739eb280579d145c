// The main window's flow: the action button's dispatch on its caption, the
// browse button, the quit question and the clean-up at close, driven through
// the real buttons and the real modal run.
#include <doctest/doctest.h>

#include "RunFixture.h"
#include "services/FileOps.h"
#include "support/Scripted.h"
#include "windows/MessagePump.h"

#include <windows.h>

namespace {

const std::string QuitQuestion = "セットアップ・アンセットアップは終了していません．\r終了してもよろしいですか？";

void StartOnReadme(RunFixture& fixture)
{
    WriteTextFile(fixture.source / "README.TXT", "readme");
    fixture.WriteScript("[Title]\r\nSetup=流れ\r\n[Readme]\r\nFile=README.TXT\r\n");
    fixture.Start();
}

// Picks `folder` in the shell's folder browser, or cancels it when empty.
std::string browserChoice;

int CALLBACK AnswerBrowser(HWND browser, UINT message, LPARAM, LPARAM)
{
    if (message != BFFM_INITIALIZED) return 0;
    if (browserChoice.empty()) {
        PostMessageA(browser, WM_COMMAND, IDCANCEL, 0);
    } else {
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(browserChoice.c_str()));
        PostMessageA(browser, WM_COMMAND, IDOK, 0);
    }
    return 0;
}

}  // namespace

TEST_CASE("btnEvent acts by the screen it is on, whatever its caption says")
{
    RunFixture fixture;
    MainWindow& main = fixture.main;
    StartOnReadme(fixture);
    REQUIRE(main.Screen() == MainScreen::Readme);
    CHECK(main.actionButton.Text() == "セットアップ続行(&C)");

    SUBCASE("from the readme to the settings, even under the settings' own caption")
    {
        main.actionButton.SetText("セットアップ開始(&S)");
        main.actionButton.Click();
        CHECK(main.Screen() == MainScreen::Settings);
        CHECK(main.actionButton.Text() == "セットアップ開始(&S)");
        CHECK_FALSE(main.readmeFrame.Visible());
        CHECK(main.messageGroup.Visible());
        CHECK(main.folderGroup.Visible());
        CHECK(main.optionGroup.Visible());
        CHECK(main.ModalResult() == 0);
    }
    SUBCASE("on the failure details, the press is the event that ends the wait")
    {
        main.ShowFailureDetailsScreen();
        CHECK(main.actionButton.Text() == "続行(&C)");
        CHECK_FALSE(main.FailureDetailsRead());
        main.actionButton.Click();
        CHECK(main.FailureDetailsRead());
        CHECK_FALSE(main.actionButton.Enabled());
    }
}

TEST_CASE("a setup folder that names no place of its own is refused before anything is made, and can be corrected")
{
    RunFixture fixture;
    MainWindow& main = fixture.main;
    fixture.WriteScript("[Title]\r\nSetup=相対\r\n[DefaultFolder]\r\nFolder=RELATIVE_DIR\r\n");
    fixture.Start();
    REQUIRE(main.actionButton.Text() == "セットアップ開始(&S)");
    CHECK(main.folderBox.Text() == "RELATIVE_DIR\\");
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, current);
    const std::string strayFolder = std::string(current) + "\\RELATIVE_DIR";

    // The box says why: the person learns what to correct.
    const std::string noDrive = "ドライブ名（C:\\など）から始まるフォルダを指定してください．";
    const struct {
        std::string typed;
        std::string why;
    } cases[] = {
        {"RELATIVE_DIR\\", noDrive},
        {",,,,", noDrive},
        {"(Bin)ABC", noDrive},
        {"C:\\(App)\\Tool\\", "置き換えられないキーワード（括弧）が含まれています．"},
        {"C:\\A|B\\", "フォルダ名に使えない文字が含まれています．"},
        {"C:\\" + std::string(300, 'L'), "フォルダ名が長すぎます．"},
        {fixture.windows.Path(), "システムまたはユーザーのフォルダです．\r別のフォルダを指定してください．"},
        {"C:\\", "システムまたはユーザーのフォルダです．\r別のフォルダを指定してください．"},
    };
    ScriptedDialogs person;
    size_t asked = 0;
    for (const auto& [typed, why] : cases) {
        CAPTURE(typed);
        main.folderBox.SetText(typed);
        person.Answer(IDOK);
        main.actionButton.Click();
        REQUIRE(person.Boxes().size() == ++asked);
        const AskedBox& box = person.Boxes().back();
        CHECK(box.text == typed + "\r\r" + "このフォルダにはセットアップできません．\r" + why);
        CHECK(box.caption == "フォルダ指定エラー");
        CHECK(box.flags == (MB_OK | MB_ICONEXCLAMATION));
        // The settings stay on the screen for the person to correct.
        CHECK(main.actionButton.Text() == "セットアップ開始(&S)");
        CHECK(main.folderGroup.Visible());
        CHECK_FALSE(fixture.status.Visible());
        CHECK(main.ModalResult() == 0);
    }
    CHECK_FALSE(PathExists(strayFolder));
}

TEST_CASE("the quit button asks first; No leaves the screen as it was, Yes ends the run and removes the work folders")
{
    RunFixture fixture;
    MainWindow& main = fixture.main;
    fixture.WriteScript("[Title]\r\nSetup=終了\r\n");
    CreateDirectoryA(fixture.WorkFolder(7).c_str(), nullptr);
    WriteTextFile(fixture.WorkFolder(7) + "LEFT.TXT", "left by a crashed run");
    fixture.Start();
    REQUIRE(FolderExists(fixture.WorkFolder(1)));
    ScriptedDialogs person;
    person.Answer(IDNO).Answer(IDYES);

    main.quitButton.Click();
    CHECK(main.ModalResult() == 1);
    CHECK_FALSE(main.TryEndModal());
    CHECK(main.ModalResult() == 0);
    CHECK_FALSE(fixture.back.Enabled());
    CHECK(main.actionButton.Text() == "セットアップ開始(&S)");
    CHECK(main.messageGroup.Visible());
    CHECK(FolderExists(fixture.WorkFolder(1)));

    main.quitButton.Click();
    CHECK(main.TryEndModal());
    CHECK(main.ModalResult() == 1);
    CHECK(fixture.back.Enabled());
    CHECK_FALSE(FolderExists(fixture.WorkFolder(1)));
    CHECK_FALSE(FolderExists(fixture.WorkFolder(7)));

    REQUIRE(person.Boxes().size() == 2);
    for (const AskedBox& box : person.Boxes()) {
        CHECK(box.text == QuitQuestion);
        CHECK(box.caption == "終了確認");
        CHECK(box.flags == (MB_YESNO | MB_ICONQUESTION));
        CHECK(box.owner == fixture.forms.application.Handle());
    }
}

TEST_CASE("no quit question on the fatal screen, nor once the run has ended by itself")
{
    RunFixture fixture;
    ScriptedDialogs person;  // no answers: any box fails the test
    SUBCASE("fatal screen")
    {
        fixture.Start();
        fixture.main.quitButton.Click();
        CHECK(fixture.main.TryEndModal());
    }
    SUBCASE("a procedure enabled the background")
    {
        fixture.WriteScript("[Title]\r\nSetup=X\r\n");
        fixture.Start();
        fixture.run.EndRun();
        CHECK(fixture.main.ModalResult() == 1);
        CHECK(fixture.main.TryEndModal());
    }
    CHECK(person.Boxes().empty());
    CHECK_FALSE(FolderExists(fixture.WorkFolder(1)));
}

TEST_CASE("the title-bar Close button and Alt+F4 do nothing once the start-up has run")
{
    RunFixture fixture;
    fixture.WriteScript("[Title]\r\nSetup=X\r\n");
    fixture.Start();
    ScriptedDialogs person;  // the quit question would fail the test
    fixture.main.Show();
    // Both arrive as the system command SC_CLOSE.
    SendMessageA(fixture.main.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    CHECK(fixture.main.Visible());
    CHECK(fixture.main.ModalResult() == 0);
    const UINT state = GetMenuState(GetSystemMenu(fixture.main.Handle(), FALSE), SC_CLOSE, MF_BYCOMMAND);
    CHECK((state & MF_GRAYED) != 0);
    fixture.main.Hide();
}

TEST_CASE("the dialog keys work on the main window: Tab, Enter on a focused button, Alt + mnemonic")
{
    RunFixture fixture;
    MainWindow& main = fixture.main;
    StartOnReadme(fixture);
    main.Show();
    main.actionButton.Focus();
    const auto key = [](UINT message, WPARAM code) {
        PostMessageA(GetFocus(), message, code, message == WM_SYSCHAR ? (1 << 29) : 0);
        ProcessMessages();
    };
    key(WM_KEYDOWN, VK_TAB);
    CHECK(GetFocus() == main.quitButton.Handle());
    key(WM_KEYDOWN, VK_TAB);
    CHECK(GetFocus() == main.readmeBox.Handle());

    main.actionButton.Focus();
    key(WM_KEYDOWN, VK_RETURN);
    CHECK(main.actionButton.Text() == "セットアップ開始(&S)");
    CHECK(main.messageGroup.Visible());

    // Alt+E: the quit button ("セットアップ終了(&E)") asks to end the run.
    CHECK(main.ModalResult() == 0);
    key(WM_SYSCHAR, 'e');
    CHECK(main.ModalResult() == 1);
    main.Hide();
}

TEST_CASE("the browse button puts the picked folder with a trailing backslash into the folder box")
{
    RunFixture fixture;
    MainWindow& main = fixture.main;
    fixture.WriteScript("[Title]\r\n[DefaultFolder]\r\nFolder=C:\\Before\\\r\n");
    fixture.Start();
    main.folderDialog.callback = &AnswerBrowser;
    CHECK(main.folderDialog.title == "セットアップフォルダを選択してください．");
    CHECK(main.folderDialog.Flags() == BIF_RETURNONLYFSDIRS);

    browserChoice.clear();
    main.browseButton.Click();
    CHECK(main.folderBox.Text() == "C:\\Before\\");

    const std::string picked = fixture.source.Path();
    browserChoice = picked.substr(0, picked.size() - 1);
    main.browseButton.Click();
    CHECK(main.folderDialog.Directory() == browserChoice);
    CHECK(main.folderBox.Text() == picked);
}
