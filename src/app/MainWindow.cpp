#include "app/MainWindow.h"

#include "app/RunStart.h"
#include "app/SystemFolders.h"
#include "app/WorkerCallback.h"
#include "install/InstallPreparation.h"
#include "install/RunInstall.h"
#include "script/PathParts.h"
#include "services/FileOps.h"
#include "text/Unicode.h"
#include "uninstall/RunUninstall.h"
#include "windows/ControlIds.h"
#include "windows/MessageBox.h"

MainWindow::MainWindow(HWND owner, Backdrop& background, RunSignals& signals, RunState& state)
    : Form(WindowClassNames::MainWindow, "Orvane", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 489, 313, owner),
      readmeFrame(*this, MainIds::readmeFrame, {8, 8, 473, 265}, ""),
      readmeBox(readmeFrame, MainIds::readmeBox, {8, 16, 457, 241}),
      messageGroup(*this, MainIds::messageGroup, {8, 8, 473, 113}, "メッセージ"),
      messageLabel(messageGroup, MainIds::messageLabel, {8, 16, 457, 89}, ""),
      folderGroup(*this, MainIds::folderGroup, {8, 128, 473, 49}, "セットアップフォルダ"),
      folderBox(folderGroup, MainIds::folderBox, {8, 16, 401, 24}, ""),
      browseButton(folderGroup, MainIds::browseButton, {416, 16, 49, 25}, "参照(&R)"),
      optionGroup(*this, MainIds::optionGroup, {8, 184, 473, 89}, "セットアップオプション"),
      overwriteBox(optionGroup, MainIds::overwriteBox, {8, 16, 457, 17},
                   "自動的に上書きする（同名ファイルが存在した場合は，最新ファイルをコピーします）．"),
      shortcutFrame(optionGroup, MainIds::shortcutFrame, {8, 40, 457, 41}, "ショートカットの作成"),
      uninstallInfoLabel(shortcutFrame, MainIds::uninstallInfoLabel, {8, 8, 441, 25}, ""),
      desktopBox(shortcutFrame, MainIds::desktopBox, {8, 16, 105, 17}, "デスクトップ"),
      startMenuBox(shortcutFrame, MainIds::startMenuBox, {120, 16, 105, 17}, "スタートメニュー"),
      startUpBox(shortcutFrame, MainIds::startUpBox, {232, 16, 105, 17}, "スタートアップ"),
      sendToBox(shortcutFrame, MainIds::sendToBox, {344, 16, 105, 17}, "送る"),
      actionButton(*this, MainIds::actionButton, {64, 280, 161, 25}, ""),
      quitButton(*this, MainIds::quitButton, {272, 280, 153, 25}, "セットアップ終了(&E)"),
      folderDialog(*this),
      background_(background),
      signals_(signals),
      state_(state)
{
    for (GroupBox* group : {&readmeFrame, &messageGroup, &folderGroup, &optionGroup}) group->SetVisible(false);
    readmeBox.UseFont({"ＭＳ ゴシック", 12});
    folderBox.UseFont({"ＭＳ Ｐゴシック", 16});
    uninstallInfoLabel.SetVisible(false);
    for (Control* input : std::initializer_list<Control*>{&folderBox, &browseButton, &overwriteBox, &desktopBox,
                                                         &startMenuBox, &startUpBox, &sendToBox,
                                                         &actionButton, &quitButton})
        input->SetEnabled(false);
    for (CheckBox* box : {&overwriteBox, &desktopBox, &startMenuBox, &startUpBox, &sendToBox})
        box->SetChecked(true);
    folderDialog.title = "セットアップフォルダを選択してください．";

    actionButton.OnClick([this] { OnAction(); });
    browseButton.OnClick([this] { OnBrowse(); });
    folderBox.OnChange([this] { OnFolderChange(); });
    quitButton.OnClick([this] { OnQuit(); });
    // The boxes are named by their frames' captions, which change with the
    // mode and the screen; the readme's text is the readme box's value.
    readmeBox.SetAccessibleText({[this] { return WideFromShiftJis(readmeFrame.Text()); },
                                 [this] { return WideFromShiftJis(readmeBox.Text()); }});
    folderBox.SetAccessibleText({[this] { return WideFromShiftJis(folderGroup.Text()); }, {}});
    SetDefaultButton(actionButton);
    SetCancelButton(quitButton);
    CenterOnScreen();
}

MainWindow::~MainWindow()
{
    DestroyTree();
}

void MainWindow::ShowReadme(bool flag)
{
    readmeFrame.SetVisible(flag);
    messageGroup.SetVisible(!flag);
    folderGroup.SetVisible(!flag);
    optionGroup.SetVisible(!flag);
}

// The start-up runs once. A box it shows before the first screen (an
// earlier install undone) activates the window again when it closes, while
// the screen is still the starting one: the start-up is under way by then.
void MainWindow::OnFirstActivation()
{
    if (!startUpBegun_) StartUp(options_.record, LoadSystemFolders);
}

namespace {

// The action button's caption on each screen. While a procedure runs, and on
// the fatal screen, it keeps the caption of the screen that came before.
std::string ActionCaption(MainScreen screen, bool setup)
{
    switch (screen) {
    case MainScreen::Starting: return {};
    case MainScreen::Readme: return "セットアップ続行(&C)";
    case MainScreen::FailureDetails: return "続行(&C)";
    case MainScreen::Fatal:
    case MainScreen::Settings:
    case MainScreen::Running: break;
    }
    return setup ? "セットアップ開始(&S)" : "アンセットアップ開始(&S)";
}

}  // namespace

void MainWindow::ShowScreen(MainScreen screen)
{
    screen_ = screen;
    actionButton.SetText(ActionCaption(screen, SetupMode(state_)));
}

void MainWindow::ShowFailureDetailsScreen()
{
    detailsRead_ = false;
    ShowScreen(MainScreen::FailureDetails);
    actionButton.SetEnabled(true);
}

void MainWindow::OnAction()
{
    switch (screen_) {
    case MainScreen::Readme:
        ShowReadme(false);
        ShowScreen(MainScreen::Settings);
        return;
    case MainScreen::Settings: StartProcedure(); return;
    case MainScreen::FailureDetails:
        // The failure details have been read: the waiting procedure goes on.
        detailsRead_ = true;
        actionButton.SetEnabled(false);
        return;
    case MainScreen::Starting:
    case MainScreen::Fatal:
    case MainScreen::Running: return;
    }
}

void MainWindow::StartProcedure()
{
    if (person_ == nullptr || procedures_ == nullptr) return;
    // The procedure runs on its worker thread; this thread keeps the windows
    // going until it has ended, and then goes on as the procedure left them.
    if (!SetupMode(state_)) {
        ShowScreen(MainScreen::Running);
        outcome_ = procedures_->Run([this](SetupCallback& person) { return RunUninstall(person, state_); });
        return;
    }
    // Nothing is made in a folder that cannot be the setup folder: the
    // person chooses another on the same screen.
    if (const std::optional<SetupFolderRefusal> refusal = SetupFolderRefusalOf(folderBox.Text(), state_)) {
        person_->SetupFolderRefused(folderBox.Text(), *refusal);
        return;
    }
    ShowScreen(MainScreen::Running);
    outcome_ = procedures_->Run([this](SetupCallback& person) { return RunInstall(person, state_); });
}

void MainWindow::OnBrowse()
{
    if (folderDialog.Execute()) folderBox.SetText(WithTrailingBackslash(folderDialog.Directory()));
}

// The modal run then asks CanClose.
void MainWindow::OnQuit()
{
    SetModalResult(1);
}

// Until the run has ended by itself, ask before quitting, except on the
// fatal screen.
bool MainWindow::CanClose()
{
    if (!signals_.mayEndWithoutAsking && screen_ != MainScreen::Fatal) {
        const int answer = ShowMessageBox("セットアップ・アンセットアップは終了していません．\r終了してもよろしいですか？",
                                          "終了確認", MB_YESNO | MB_ICONQUESTION);
        if (answer == IDNO) return false;
        signals_.mayEndWithoutAsking = true;
        background_.SetEnabled(true);
        SetModalResult(1);
    }
    return true;
}

void MainWindow::OnClose()
{
    CloseRun(state_);
}
