// The progress window's abort, the confirmation dialog's answers, the
// windows as the procedures use them, the background's run start, the
// restart offer and the top-level error handler.
#include <doctest/doctest.h>

#include "RunFixture.h"
#include "app/RestartOffer.h"
#include "services/SetupError.h"
#include "support/Scripted.h"
#include "windows/MessagePump.h"

#include <windows.h>

#include <stdexcept>
#include <vector>

namespace {

const std::string AbortQuestion =
    "ここでセットアップを中断すると，すでにコピー済みのファイルは削除されません．\r"
    "一度，セットアップを完了してから，アンセットアップ(アンインストール)することをおすすめします．\r\r"
    "本当にセットアップを中断しますか？";

// Presses actionButton once the failure details are up, as a person would:
// the press comes as a message, after another message that must not end
// the wait.
class PressWhenDetailsShow final : public PumpObserver {
public:
    explicit PressWhenDetailsShow(MainWindow& main) : main_(main) { InstallPumpObserver(this); }
    ~PressWhenDetailsShow() override { InstallPumpObserver(nullptr); }
    void AfterPump() override
    {
        if (!main_.Visible() || !main_.actionButton.Enabled()) return;
        ++pumpsWhileShown;
        if (pumpsWhileShown == 1) PostMessageW(main_.Handle(), WM_NULL, 0, 0);
        if (pumpsWhileShown == 2) PostMessageW(main_.actionButton.Handle(), BM_CLICK, 0, 0);
    }
    int pumpsWhileShown = 0;

private:
    MainWindow& main_;
};

}  // namespace

TEST_CASE("the abort question: No changes nothing, Yes signals the abort in its order")
{
    RunFixture fixture;
    fixture.WriteScript("[Title]\r\nSetup=X\r\n");
    fixture.Start();
    WindowsCallback& run = fixture.run;
    run.ShowMain(false);
    run.ShowProgress(true);
    run.EnableAbort(true);
    // What the person sees of the windows while each box is up.
    std::vector<std::string> seen;
    ScriptedDialogs person;
    person.WhileShown([&](const AskedBox&) {
        seen.push_back(std::string(fixture.status.Visible() ? "progress shown" : "progress hidden") + ", result " +
                       std::to_string(fixture.main.ModalResult()));
    });

    SUBCASE("No")
    {
        person.Answer(IDNO);
        fixture.status.abortButton.Click();
        REQUIRE(person.Boxes().size() == 1);
        CHECK(seen[0] == "progress shown, result 0");
        CHECK_FALSE(run.AbortRequested());
        CHECK(fixture.main.Enabled());
        CHECK_FALSE(fixture.back.Enabled());
        CHECK(fixture.status.Visible());
        CHECK(fixture.status.abortButton.Enabled());
        CHECK(fixture.main.ModalResult() == 0);
    }
    SUBCASE("Yes")
    {
        person.Answer(IDYES).Answer(IDOK);
        fixture.status.abortButton.Click();
        REQUIRE(person.Boxes().size() == 2);
        CHECK(seen[0] == "progress shown, result 0");
        // The progress window is closed before the message, the modal result
        // set after it.
        CHECK(seen[1] == "progress hidden, result 0");
        CHECK(person.Boxes()[1].text == "セットアップを中断しました．");
        CHECK(person.Boxes()[1].caption == "中断");
        CHECK(person.Boxes()[1].flags == (MB_OK | MB_ICONEXCLAMATION));
        CHECK(run.AbortRequested());
        CHECK_FALSE(fixture.main.Enabled());
        CHECK(fixture.back.Enabled());
        CHECK_FALSE(fixture.status.Visible());
        CHECK(fixture.main.ModalResult() == 1);
        // The run then ends without the quit question.
        CHECK(fixture.main.TryEndModal());
        CHECK(person.Boxes().size() == 2);
    }
    CHECK(person.Boxes()[0].text == AbortQuestion);
    CHECK(person.Boxes()[0].caption == "中断の確認");
    CHECK(person.Boxes()[0].flags == (MB_YESNO | MB_ICONQUESTION));
    fixture.status.Hide();
}

TEST_CASE("the progress window: disabled abort button, no close command, bar and label")
{
    RunFixture fixture;
    ProgressWindow& status = fixture.status;
    CHECK(status.Text() == "進行状況");
    CHECK_FALSE(status.abortButton.Enabled());
    CHECK_FALSE(status.CloseItemEnabled());
    CHECK_FALSE(status.progressFrame.Visible());
    CHECK(status.progressLabel.Text() == "0%(0/0)");
    ScriptedDialogs person;  // a disabled abort button asks nothing
    status.abortButton.Click();
    CHECK(person.Boxes().empty());

    status.Show();
    SendMessageA(status.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    CHECK(status.Visible());
    status.Hide();

    WindowsCallback& run = fixture.run;
    CHECK(run.SetProgressPosition(40) == 40);
    CHECK(run.SetProgressPosition(150) == 100);
    run.SetProgressText("40%(2/5)");
    CHECK(status.progressLabel.Text() == "40%(2/5)");
    run.ShowProgressFrame(true);
    CHECK(status.progressFrame.Visible());
}

namespace {

// Counts the texts set on a control (WM_SETTEXT), each of which repaints it.
LRESULT CALLBACK CountTextsSet(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR count)
{
    if (message == WM_SETTEXT) ++*reinterpret_cast<int*>(count);
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, &CountTextsSet, 0);
    return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace

TEST_CASE("the progress window's message and count are set, and repainted, only when their text changes")
{
    RunFixture fixture;
    ProgressWindow& status = fixture.status;
    WindowsCallback& run = fixture.run;
    int messagesSet = 0;
    int countsSet = 0;
    REQUIRE(SetWindowSubclass(status.messageLabel.Handle(), &CountTextsSet, 0, reinterpret_cast<DWORD_PTR>(&messagesSet)));
    REQUIRE(SetWindowSubclass(status.progressLabel.Handle(), &CountTextsSet, 0, reinterpret_cast<DWORD_PTR>(&countsSet)));

    run.SetStatusText("ファイルをコピーしています．．．\rA.TXT");
    run.SetStatusText("ファイルをコピーしています．．．\rA.TXT");
    CHECK(messagesSet == 1);
    run.SetStatusText("ファイルをコピーしています．．．\rB.TXT");
    CHECK(messagesSet == 2);
    CHECK(status.messageLabel.Text() == "ファイルをコピーしています．．．\rB.TXT");

    run.SetCopyProgress({40, 2, 5});
    run.SetCopyProgress({40, 2, 5});
    CHECK(countsSet == 1);
    CHECK(status.progressLabel.Text() == "40%(2/5)");
    CHECK(status.progressBar.Position() == 40);
    // The same share with one more entry is a new count.
    run.SetCopyProgress({40, 3, 5});
    CHECK(countsSet == 2);
    CHECK(status.progressLabel.Text() == "40%(3/5)");
    RemoveWindowSubclass(status.messageLabel.Handle(), &CountTextsSet, 0);
    RemoveWindowSubclass(status.progressLabel.Handle(), &CountTextsSet, 0);
}

TEST_CASE("a form is found by its window while the window lives, and no longer once it is gone")
{
    RunFixture fixture;
    CHECK(Form::FromHandle(fixture.status.Handle()) == &fixture.status);
    CHECK(Form::FromHandle(fixture.main.Handle()) == &fixture.main);
    // A control is no form, nor is a window of another class.
    CHECK(Form::FromHandle(fixture.status.messageLabel.Handle()) == nullptr);
    CHECK(Form::FromHandle(GetDesktopWindow()) == nullptr);
    HWND gone = nullptr;
    {
        ProgressWindow second(nullptr, nullptr, nullptr, fixture.forms.signals);
        gone = second.Handle();
        CHECK(Form::FromHandle(gone) == &second);
        // Its messages reach it through the lookup: the disabled Close item
        // still keeps it open.
        second.Show();
        SendMessageA(gone, WM_SYSCOMMAND, SC_CLOSE, 0);
        CHECK(second.Visible());
    }
    CHECK_FALSE(IsWindow(gone));
    CHECK(Form::FromHandle(gone) == nullptr);
}

TEST_CASE("the confirmation dialog runs modally until a button ends it, and answers with that button")
{
    RunFixture fixture;
    SharedFileDialog& dialog = fixture.dialog;
    CHECK(dialog.Text() == "ファイル削除の確認");
    CHECK((GetWindowLongPtrA(dialog.Handle(), GWL_STYLE) & WS_SYSMENU) == 0);
    const std::string message = "C:\\WINDOWS\\SYSTEM\\表.DLL\r\r消しますか？";
    const std::pair<Button SharedFileDialog::*, SharedFileButton> buttons[] = {
        {&SharedFileDialog::yesButton, SharedFileButton::Yes},
        {&SharedFileDialog::noButton, SharedFileButton::No},
        {&SharedFileDialog::deleteAllButton, SharedFileButton::DeleteAll},
        {&SharedFileDialog::keepAllButton, SharedFileButton::KeepAll},
    };
    for (const auto& [button, pressed] : buttons) {
        CAPTURE(static_cast<int>(pressed));
        ScriptedDialogs person;
        std::string shownMessage;
        int result = 0;
        person.AnswerConfirm([&, button = button](ModalWindow& window) {
            shownMessage = dialog.messageLabel.Text();
            // A close request from outside is refused: it would leave no
            // answer. Then the button.
            PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
            PostMessageA((dialog.*button).Handle(), BM_CLICK, 0, 0);
            result = window.RunModal();
        });
        ModalWatchdog watchdog(fixture.back, dialog);
        CHECK(fixture.run.AskConfirmation(message) == pressed);
        CHECK(shownMessage == message);
        CHECK(result == 1);
        CHECK_FALSE(dialog.Visible());
    }
    // A dialog that is not shown answers nothing, not the last press: the
    // file it asks about is kept.
    ScriptedDialogs person;
    person.AnswerConfirm([](ModalWindow&) {});
    CHECK_FALSE(fixture.run.AskConfirmation(message).has_value());
    person.AnswerConfirm([](ModalWindow&) {});
    CHECK(fixture.run.AskSharedFile("C:\\WINDOWS\\SYSTEM\\表.DLL") == SharedFileAnswer::Keep);
}

TEST_CASE("the failure details wait on the main window until actionButton is pressed")
{
    RunFixture fixture;
    MainWindow& main = fixture.main;
    WriteTextFile(fixture.source / "R.TXT", "readme");
    fixture.WriteScript("[Title]\r\n[Readme]\r\nFile=R.TXT\r\nScrollBars=ssHorizontal\r\n");
    fixture.Start();
    WindowsCallback& run = fixture.run;
    run.ShowMain(false);
    run.ShowProgress(true);
    run.PrepareCompletionLayout();
    CHECK_FALSE(main.quitButton.Visible());
    CHECK(main.actionButton.Left() == (489 - 161) / 2);

    InstantClock clock;
    PressWhenDetailsShow person(main);
    const std::string report = "<File> C:\\APP\\A.DLL\r\nアクセスが拒否されました。\r\n";
    SUBCASE("install: the scroll bars stay as the readme set them")
    {
        run.ShowFailureDetails(report, "作成・コピー処理失敗　詳細表示", false);
        CHECK((GetWindowLongPtrA(main.readmeBox.Handle(), GWL_STYLE) & WS_VSCROLL) == 0);
    }
    SUBCASE("uninstall: with a vertical scroll bar")
    {
        run.ShowFailureDetails(report, "削除処理失敗　詳細表示", true);
        CHECK((GetWindowLongPtrA(main.readmeBox.Handle(), GWL_STYLE) & WS_VSCROLL) != 0);
    }
    // The other message did not end the wait; the press did.
    CHECK(person.pumpsWhileShown == 2);
    CHECK(main.readmeBox.Text() == report);
    CHECK(main.actionButton.Text() == "続行(&C)");
    CHECK_FALSE(main.actionButton.Enabled());
    CHECK(main.readmeFrame.Visible());
    CHECK_FALSE(main.Visible());
    CHECK(fixture.status.Visible());
    // No timer: the only pause is the one before the progress window returns.
    CHECK(clock.pauses == std::vector<unsigned long>{500});
    fixture.status.Hide();
}

TEST_CASE("a component's registration failure is told in one box with the path and the reason")
{
    RunFixture fixture;
    ScriptedDialogs person;
    person.Answer(IDOK).Answer(IDOK).Answer(IDOK);
    const std::string path = "C:\\APP\\表\\CTL.DLL";
    fixture.run.RegistrationFailed(path, RegistrationFailure::RegisterFailed);
    fixture.run.RegistrationFailed(path, RegistrationFailure::NoRegisterEntry);
    fixture.run.RegistrationFailed(path, RegistrationFailure::NotLoaded);
    REQUIRE(person.Boxes().size() == 3);
    CHECK(person.Boxes()[0].text == path + "のDllRegisterServer関数が失敗しました．");
    CHECK(person.Boxes()[1].text == path + "のDllRegisterServerエントリが見つかりません．");
    CHECK(person.Boxes()[2].text == path + "の読み込みに失敗しました．");
    for (const AskedBox& box : person.Boxes()) {
        CHECK(box.caption == "OCX/DLL登録エラー");
        CHECK(box.flags == (MB_OK | MB_ICONEXCLAMATION));
    }
}

TEST_CASE("the run: a task-bar button, the background's version and banner, and the main window run modally")
{
    RunFixture fixture;
    Backdrop& back = fixture.back;
    fixture.Start();  // the fatal screen: quitButton closes without a question
    ModalWatchdog watchdog(back, fixture.main);
    PostMessageA(fixture.main.quitButton.Handle(), BM_CLICK, 0, 0);
    fixture.forms.Run();

    // The application window, unowned and no tool window, is what the task
    // bar shows, with the application's title.
    const HWND application = fixture.forms.application.Handle();
    CHECK(IsWindowVisible(application));
    CHECK(GetWindow(application, GW_OWNER) == nullptr);
    CHECK((GetWindowLongPtrA(application, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) == 0);
    CHECK(fixture.forms.application.Text() == "Orvane Standard");
    CHECK(GetWindow(back.Handle(), GW_OWNER) == application);

    // The test program has no version resource: the numbers stay 0.
    CHECK(back.Text() == "Orvane Standard Version0.00(Build:0000)");
    CHECK(back.bannerLabel2.Left() == back.bannerLabel1.Left() + 2);
    CHECK(back.bannerLabel2.Top() == back.bannerLabel1.Top() + 2);
    CHECK(back.programTitleLabel1.Text() == "Orvane Standard\rSetup and Uninstall");
    CHECK(back.programTitleLabel1.Visible());
    CHECK(back.programTitleLabel2.Visible());
    const Bounds banner = back.programTitleLabel1.GetBounds();
    CHECK(banner.left == back.Width() - banner.width - 24);
    CHECK(banner.top == back.Height() - banner.height - 48);
    CHECK(back.programTitleLabel2.Left() == banner.left + 2);
    CHECK(back.programTitleLabel2.Top() == banner.top + 2);
    CHECK_FALSE(fixture.main.Visible());
    CHECK_FALSE(back.Visible());

    // A later resize moves nothing.
    ShowWindow(back.Handle(), SW_SHOWNORMAL);
    CHECK(back.programTitleLabel1.GetBounds().left == banner.left);
    back.Hide();
}

TEST_CASE("the restart offer: only when asked for, and the warning after a declining answer")
{
    RunState state;
    SUBCASE("no restart asked")
    {
        ScriptedDialogs person;
        OfferRestartIfNeeded(state);
        CHECK(person.RestartOffers() == 0);
    }
    SUBCASE("declined")
    {
        state.rebootNeeded = 1;
        ScriptedDialogs person;
        person.AnswerRestart(IDNO).Answer(IDOK);
        OfferRestartIfNeeded(state);
        CHECK(person.RestartOffers() == 1);
        REQUIRE(person.Boxes().size() == 1);
        CHECK(person.Boxes()[0].text == "Windowsを再起動すると，セットアップは完了します．");
        CHECK(person.Boxes()[0].caption == "警告");
        CHECK(person.Boxes()[0].flags == (MB_OK | MB_ICONEXCLAMATION));
    }
    SUBCASE("declined after an uninstall, whose files in use go with the restart")
    {
        state.rebootNeeded = 1;
        ScriptedDialogs person;
        person.AnswerRestart(IDNO).Answer(IDOK);
        OfferRestartIfNeeded(state, RunKind::Uninstall);
        CHECK(person.RestartOffers() == 1);
        REQUIRE(person.Boxes().size() == 1);
        CHECK(person.Boxes()[0].text == "Windowsを再起動すると，アンセットアップは完了します．");
        CHECK(person.Boxes()[0].caption == "警告");
    }
    SUBCASE("accepted")
    {
        state.rebootNeeded = 1;
        ScriptedDialogs person;
        person.AnswerRestart(IDYES);
        OfferRestartIfNeeded(state);
        CHECK(person.RestartOffers() == 1);
        CHECK(person.Boxes().empty());
    }
    state = RunState{};
}

TEST_CASE("an error raised inside a window message is shown and goes no further")
{
    RunFixture fixture;
    // The start-up has run (to its fatal screen: there is no script), so
    // that the boxes' closing, which activates the main window, starts
    // nothing of the real machine's.
    fixture.Start();
    ScriptedDialogs person;
    person.Answer(IDOK).Answer(IDOK);
    // A registry failure during a click, as the procedures raise it.
    fixture.main.browseButton.SetEnabled(true);
    fixture.main.browseButton.OnClick(
        [] { throw SetupError(SetupError::Action::CreatingKey, "HKEY\\Test", 5, "ｷｰ HKEY\\Test の作成に失敗しました"); });
    fixture.main.browseButton.Click();
    fixture.main.browseButton.OnClick([] { throw std::runtime_error("other"); });
    fixture.main.browseButton.Click();
    REQUIRE(person.Boxes().size() == 2);
    CHECK(person.Boxes()[0].text == "ｷｰ HKEY\\Test の作成に失敗しました");
    CHECK(person.Boxes()[0].caption == "Orvane Standard");
    CHECK(person.Boxes()[0].flags == (MB_OK | MB_ICONHAND));
    CHECK(person.Boxes()[1].text == "other");
}

TEST_CASE("the windows are Unicode windows: texts and the Japanese font's name travel as UTF-16")
{
    RunFixture fixture;
    fixture.WriteScript("[Title]\r\nSetup=表示ソフト Ver 2.0\r\n");
    fixture.Start();
    MainWindow& main = fixture.main;
    for (HWND window : {fixture.forms.application.Handle(), fixture.back.Handle(), main.Handle(),
                        main.actionButton.Handle(), main.folderBox.Handle(), main.messageLabel.Handle()})
        CHECK(IsWindowUnicode(window));

    // What Windows holds is the UTF-16 form of the Shift-JIS text.
    wchar_t caption[64] = {};
    GetWindowTextW(main.Handle(), caption, 64);
    const std::wstring expectedCaption = L"表示ソフト Ver 2.0";
    CHECK(caption == expectedCaption);
    CHECK(main.Text() == "表示ソフト Ver 2.0");

    // A typed character without a Shift-JIS form reads back as "?", which
    // no folder accepts, never as some other Japanese character.
    const std::wstring typed = L"C:\\Zoë\\表示\\";
    SetWindowTextW(main.folderBox.Handle(), typed.c_str());
    CHECK(main.folderBox.Text() == "C:\\Zo?\\表示\\");

    // The face is asked for by its Japanese name with the Shift-JIS set.
    for (const Control* control : std::initializer_list<const Control*>{&main.messageLabel, &main.folderBox}) {
        const auto font = reinterpret_cast<HFONT>(SendMessageW(control->Handle(), WM_GETFONT, 0, 0));
        LOGFONTW face{};
        REQUIRE(GetObjectW(font, sizeof face, &face) == sizeof face);
        const std::wstring expectedFace = L"ＭＳ Ｐゴシック";
        CHECK(face.lfFaceName == expectedFace);
        CHECK(face.lfCharSet == SHIFTJIS_CHARSET);
    }
}

TEST_CASE("with a high-contrast theme the background takes the theme's colours, and gives them back")
{
    RunFixture fixture;
    Backdrop& back = fixture.back;
    REQUIRE(back.Color() == RGB(0, 128, 128));
    CHECK(back.bannerLabel1.TextColor() == RGB(255, 255, 255));
    CHECK(back.bannerLabel2.TextColor() == RGB(0, 0, 255));

    back.ApplyColors(true);
    CHECK(back.Color() == GetSysColor(COLOR_WINDOW));
    for (Label* letters : {&back.bannerLabel1, &back.programTitleLabel1})
        CHECK(letters->TextColor() == GetSysColor(COLOR_WINDOWTEXT));
    // The shadows vanish into the background instead of blurring the letters.
    for (Label* shadow : {&back.bannerLabel2, &back.programTitleLabel2}) CHECK(shadow->TextColor() == back.Color());

    // The theme switched off again (Wine's prefix has none): the system
    // says its colours changed, and the designed ones come back.
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    REQUIRE(SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0));
    REQUIRE((contrast.dwFlags & HCF_HIGHCONTRASTON) == 0);
    SendMessageW(back.Handle(), WM_SYSCOLORCHANGE, 0, 0);
    CHECK(back.Color() == RGB(0, 128, 128));
    CHECK(back.programTitleLabel1.TextColor() == RGB(255, 255, 255));
    CHECK(back.programTitleLabel2.TextColor() == RGB(0, 0, 255));
}
