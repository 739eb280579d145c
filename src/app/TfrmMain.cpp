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

namespace {

constexpr const char* QuitCaptionFatal = "終了(&E)";

}  // namespace

TfrmMain::TfrmMain(HWND owner, TfrmBack& background)
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
      background_(background)
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

// The start-up runs once: its both endings set the caption of btnEvent, and
// later activations (after a message box, an application switch) find it set.
void TfrmMain::FormActivate()
{
    if (!btnEvent.Text().empty()) return;
    StartUp(FirstArgument(GetCommandLineA()), LoadSystemFolders);
}

void TfrmMain::btnEventClick()
{
    const std::string caption = btnEvent.Text();
    if (caption == "アンセットアップ開始(&S)") {
        if (person_ != nullptr) outcome_ = RunUninstall(*person_);
    } else if (caption == "セットアップ開始(&S)") {
        // Nothing is made in a folder that names no place: the person
        // corrects it on the same screen.
        if (person_ == nullptr) return;
        if (!IsUsableSetupFolder(txtFolder.Text())) {
            person_->SetupFolderRefused(txtFolder.Text());
            return;
        }
        outcome_ = RunInstall(*person_);
    } else if (caption == "続行(&C)") {
        // The failure details have been read: the waiting procedure goes on.
        btnEvent.SetEnabled(false);
    } else if (caption == "セットアップ続行(&C)") {
        ShowReadme(false);
        btnEvent.SetText("セットアップ開始(&S)");
    }
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

// While the background window is disabled the run has not ended by itself:
// ask before quitting, except on the fatal screen.
bool TfrmMain::FormCloseQuery()
{
    if (!background_.Enabled() && btnEnd.Text() != QuitCaptionFatal) {
        const int answer = ShowMessageBox("セットアップ・アンセットアップは終了していません．\r終了してもよろしいですか？",
                                          "終了確認", MB_YESNO | MB_ICONQUESTION);
        if (answer == IDNO) return false;
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
