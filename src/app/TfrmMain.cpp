#include "app/TfrmMain.h"

#include "app/CommandLine.h"
#include "app/SystemFolders.h"
#include "app/WorkFolders.h"
#include "install/InstallPreparation.h"
#include "install/RunInstall.h"
#include "services/Deletion.h"
#include "services/FileOps.h"
#include "windows/MessageBox.h"
#include "text/StrOp.h"
#include "uninstall/RunUninstall.h"
#include "windows/ControlIds.h"

#include <shlobj.h>

TfrmMain::TfrmMain(HWND owner, TfrmBack& background, RunSignals& signals)
    : Form("TfrmMain", "Orvane", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 489, 313, owner),
      fraReadme(*this, MainIds::fraReadme, {8, 8, 473, 265}, ""),
      txtReadme(fraReadme, MainIds::txtReadme, {8, 16, 457, 241}),
      grpMessage(*this, MainIds::grpMessage, {8, 8, 473, 113}, "メッセージ"),
      lblMessage(grpMessage, MainIds::lblMessage, {8, 16, 457, 89}, ""),
      grpSetupFolder(*this, MainIds::grpSetupFolder, {8, 128, 473, 49}, "セットアップフォルダ"),
      txtFolder(grpSetupFolder, MainIds::txtFolder, {8, 16, 401, 24}, ""),
      btnRefer(grpSetupFolder, MainIds::btnRefer, {416, 16, 49, 25}, "参照(&R)"),
      grpOption(*this, MainIds::grpOption, {8, 184, 473, 89}, "セットアップオプション"),
      chkOverWrite(grpOption, MainIds::chkOverWrite, {8, 16, 457, 17},
                   "自動的に上書きする（同名ファイルが存在した場合は，最新ファイルをコピーします）．"),
      fraShortCut(grpOption, MainIds::fraShortCut, {8, 40, 457, 41}, "ショートカットの作成"),
      lblUnSetupInfo(fraShortCut, MainIds::lblUnSetupInfo, {8, 8, 441, 25}, ""),
      chkSCutDesktop(fraShortCut, MainIds::chkSCutDesktop, {8, 16, 105, 17}, "デスクトップ"),
      chkSCutStartMenu(fraShortCut, MainIds::chkSCutStartMenu, {120, 16, 105, 17}, "スタートメニュー"),
      chkSCutStartUp(fraShortCut, MainIds::chkSCutStartUp, {232, 16, 105, 17}, "スタートアップ"),
      chkSCutSendTo(fraShortCut, MainIds::chkSCutSendTo, {344, 16, 105, 17}, "送る"),
      btnEvent(*this, MainIds::btnEvent, {64, 280, 161, 25}, ""),
      btnEnd(*this, MainIds::btnEnd, {272, 280, 153, 25}, "セットアップ終了(&E)"),
      lblFormShare(*this, MainIds::lblFormShare, {8, 296, 63, 12}, "Can't Delete"),
      dlgFolder(*this),
      background_(background),
      signals_(signals)
{
    for (GroupBox* group : {&fraReadme, &grpMessage, &grpSetupFolder, &grpOption}) group->SetVisible(false);
    txtReadme.UseFont(MakeFont("ＭＳ ゴシック", 12));
    txtFolder.UseFont(MakeFont("ＭＳ Ｐゴシック", 16));
    lblUnSetupInfo.SetVisible(false);
    lblFormShare.SetVisible(false);
    for (Control* input : std::initializer_list<Control*>{&txtFolder, &btnRefer, &chkOverWrite, &chkSCutDesktop,
                                                         &chkSCutStartMenu, &chkSCutStartUp, &chkSCutSendTo,
                                                         &btnEvent, &btnEnd})
        input->SetEnabled(false);
    for (CheckBox* box : {&chkOverWrite, &chkSCutDesktop, &chkSCutStartMenu, &chkSCutStartUp, &chkSCutSendTo})
        box->SetChecked(true);
    dlgFolder.Title = "セットアップフォルダを選択してください．";

    btnEvent.OnClick([this] { btnEventClick(); });
    btnRefer.OnClick([this] { btnReferClick(); });
    txtFolder.OnChange([this] { txtFolderChange(); });
    btnEnd.OnClick([this] { btnEndClick(); });
    CenterOnScreen();
}

TfrmMain::~TfrmMain()
{
    DestroyTree();
}

void TfrmMain::ShowReadme(bool flag)
{
    fraReadme.SetVisible(flag);
    grpMessage.SetVisible(!flag);
    grpSetupFolder.SetVisible(!flag);
    grpOption.SetVisible(!flag);
}

// The start-up runs once: both its endings leave the starting screen, and
// later activations (after a message box, an application switch) find it left.
void TfrmMain::FormActivate()
{
    if (screen_ != MainScreen::Starting) return;
    StartUp(FirstArgument(GetCommandLineA()), LoadSystemFolders);
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

void TfrmMain::ShowScreen(MainScreen screen)
{
    screen_ = screen;
    btnEvent.SetText(ActionCaption(screen, SetupMode()));
}

void TfrmMain::ShowFailureDetailsScreen()
{
    detailsRead_ = false;
    ShowScreen(MainScreen::FailureDetails);
    btnEvent.SetEnabled(true);
}

void TfrmMain::btnEventClick()
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
        btnEvent.SetEnabled(false);
        return;
    case MainScreen::Starting:
    case MainScreen::Fatal:
    case MainScreen::Running: return;
    }
}

void TfrmMain::StartProcedure()
{
    if (person_ == nullptr) return;
    if (!SetupMode()) {
        ShowScreen(MainScreen::Running);
        outcome_ = RunUninstall(*person_);
        return;
    }
    // Nothing is made in a folder that names no place: the person corrects
    // it on the same screen.
    if (!IsUsableSetupFolder(txtFolder.Text())) {
        person_->SetupFolderRefused(txtFolder.Text());
        return;
    }
    ShowScreen(MainScreen::Running);
    outcome_ = RunInstall(*person_);
}

void TfrmMain::btnReferClick()
{
    if (dlgFolder.Execute()) txtFolder.SetText(AddDelimiter(dlgFolder.Directory(), "B"));
}

// The modal run then asks FormCloseQuery.
void TfrmMain::btnEndClick()
{
    SetModalResult(1);
}

// Until the run has ended by itself, ask before quitting, except on the
// fatal screen.
bool TfrmMain::FormCloseQuery()
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

void TfrmMain::FormClose()
{
    // Work folders of this run and of earlier runs that did not close. One
    // that cannot be removed (a file in use) stays for the next run.
    for (int n = 1; n <= WorkFolderLimit; ++n) {
        const std::string folder = WorkFolderPath(TheRun.TempFolder, n);
        if (FolderExists(folder)) RemoveFolder(folder, "*.*");
    }
    // Associations, items and folders may have changed: tell the shell. The
    // notifications report no errors.
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_IDLIST, nullptr, nullptr);
    SHChangeNotify(SHCNE_UPDATEDIR, SHCNF_IDLIST, nullptr, nullptr);
}
