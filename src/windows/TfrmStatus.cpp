#include "windows/TfrmStatus.h"

#include "windows/MessageBox.h"
#include "windows/ControlIds.h"

TfrmStatus::TfrmStatus(HWND owner, Form& background, Form& main, RunSignals& signals)
    : Form("TfrmStatus", "進行状況", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 497, 153, owner),
      grpMessage(*this, StatusIds::grpMessage, {8, 8, 481, 97}, "メッセージ"),
      lblMessage(grpMessage, StatusIds::lblMessage, {8, 16, 457, 73}, ""),
      fraStatus(grpMessage, StatusIds::fraStatus, {8, 48, 465, 41}, "進行状況"),
      prgStatus(fraStatus, StatusIds::prgStatus, {8, 16, 353, 17}),
      lblStatus(fraStatus, StatusIds::lblStatus, {368, 16, 88, 17}, "0%(0/0)", LabelLayout::CenteredBothWays),
      btnAbort(*this, StatusIds::btnAbort, {168, 120, 161, 25}, "中断(&A)"),
      background_(background),
      main_(main), signals_(signals)
{
    // When shown, the progress frame covers the lower part of the message.
    SetWindowPos(fraStatus.Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    fraStatus.SetVisible(false);
    prgStatus.SetRange(0, 100);
    prgStatus.SetStep(5);
    lblStatus.UseFont(MakeFont("ＭＳ Ｐゴシック", 13));
    btnAbort.SetEnabled(false);
    btnAbort.OnClick([this] { btnAbortClick(); });
    CenterOnScreen();
    FormCreate();
}

TfrmStatus::~TfrmStatus()
{
    DestroyTree();
}

// The window is left only through the procedures or the abort button.
void TfrmStatus::FormCreate()
{
    DisableCloseItem();
}

// The order of effects matters: the abort signal is what the install
// procedure polls, the run may then end without the quit question, and the
// modal result ends the run once the procedure has returned. The main window
// is disabled and the background enabled as the person has always seen it.
void TfrmStatus::btnAbortClick()
{
    const int answer = ShowMessageBox(
        "ここでセットアップを中断すると，すでにコピー済みのファイルは削除されません．\r"
        "一度，セットアップを完了してから，アンセットアップ(アンインストール)することをおすすめします．\r\r"
        "本当にセットアップを中断しますか？",
        "中断の確認", MB_YESNO | MB_ICONQUESTION);
    if (answer != IDYES) return;
    signals_.abortRequested = true;
    signals_.mayEndWithoutAsking = true;
    main_.SetEnabled(false);
    background_.SetEnabled(true);
    Close();
    ShowMessageBox("セットアップを中断しました．", "中断", MB_OK | MB_ICONEXCLAMATION);
    main_.SetModalResult(1);
}
