#include "windows/ProgressWindow.h"

#include "text/Unicode.h"
#include "windows/ControlIds.h"
#include "windows/MessageBox.h"

ProgressWindow::ProgressWindow(HWND owner, Form* background, Form* main, RunSignals& signals)
    : Form(WindowClassNames::ProgressWindow, "進行状況", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 497, 153, owner),
      messageGroup(*this, ProgressIds::messageGroup, {8, 8, 481, 97}, "メッセージ"),
      messageLabel(messageGroup, ProgressIds::messageLabel, {8, 16, 457, 73}, ""),
      progressFrame(messageGroup, ProgressIds::progressFrame, {8, 48, 465, 41}, "進行状況"),
      progressBar(progressFrame, ProgressIds::progressBar, {8, 16, 353, 17}),
      progressLabel(progressFrame, ProgressIds::progressLabel, {368, 16, 88, 17}, "0%(0/0)", LabelLayout::CenteredBothWays),
      abortButton(*this, ProgressIds::abortButton, {168, 120, 161, 25}, "中断(&A)"),
      background_(background),
      main_(main), signals_(signals)
{
    // When shown, the progress frame covers the lower part of the message.
    SetWindowPos(progressFrame.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    progressFrame.SetVisible(false);
    progressBar.SetRange(0, 100);
    progressBar.SetStep(5);
    progressLabel.UseFont({"ＭＳ Ｐゴシック", 13});
    abortButton.SetEnabled(false);
    abortButton.OnClick([this] { OnAbort(); });
    // The bar is named by its frame and says the count beside it.
    progressBar.SetAccessibleText({[this] { return WideFromShiftJis(progressFrame.Text()); },
                                   [this] { return WideFromShiftJis(progressLabel.Text()); }});
    // Esc asks the abort question, as the button does.
    SetCancelButton(abortButton);
    CenterOnScreen();
    OnCreate();
}

ProgressWindow::~ProgressWindow()
{
    DestroyTree();
}

void ProgressWindow::ShowCount(const std::string& text)
{
    progressLabel.SetText(text);
    AnnounceValueChange(progressBar.Handle());
}

// The window is left only through the procedures or the abort button.
void ProgressWindow::OnCreate()
{
    DisableCloseItem();
}

// The order of effects matters: the abort signal is what the install
// procedure polls, the run may then end without the quit question, and the
// modal result ends the run once the procedure has returned. The main window
// is disabled and the background enabled as the person has always seen it.
// A procedure on its worker thread waits at its next call while the two
// boxes show, as the procedure on the window thread did.
void ProgressWindow::OnAbort()
{
    ProcedureHold::Scope hold(signals_.hold);
    const int answer = ShowMessageBox(
        "ここでセットアップを中断すると，すでにコピー済みのファイルは削除されません．\r"
        "一度，セットアップを完了してから，アンセットアップ(アンインストール)することをおすすめします．\r\r"
        "本当にセットアップを中断しますか？",
        "中断の確認", MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return;
    signals_.abortRequested = true;
    signals_.mayEndWithoutAsking = true;
    if (main_ != nullptr) main_->SetEnabled(false);
    if (background_ != nullptr) background_->SetEnabled(true);
    Close();
    ShowMessageBox("セットアップを中断しました．", "中断", MB_OK | MB_ICONEXCLAMATION);
    if (main_ != nullptr) main_->SetModalResult(1);
}
