#include "windows/TfrmCustomDlg.h"

#include "windows/ControlIds.h"

TfrmCustomDlg::TfrmCustomDlg(HWND owner, Label& answerSlot)
    // A dialog frame without title-bar buttons: only the four buttons end it.
    : Form("TfrmCustomDlg", "ファイル削除の確認", WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME, 426, 121, owner),
      lblMessage(*this, CustomDlgIds::lblMessage, {8, 8, 409, 73}, "", LabelLayout::NoWrap),
      btnYes(*this, CustomDlgIds::btnYes, {8, 88, 97, 25}, "はい(&Y)"),
      btnNo(*this, CustomDlgIds::btnNo, {112, 88, 97, 25}, "いいえ(&N)"),
      btnDelete(*this, CustomDlgIds::btnDelete, {216, 88, 97, 25}, "すべて削除(&D)"),
      btnSave(*this, CustomDlgIds::btnSave, {320, 88, 97, 25}, "すべて保存(&A)"),
      answerSlot_(answerSlot)
{
    btnYes.OnClick([this] { btnYesClick(); });
    btnNo.OnClick([this] { btnNoClick(); });
    btnDelete.OnClick([this] { btnDeleteClick(); });
    btnSave.OnClick([this] { btnSaveClick(); });
    CenterOnScreen();
}

TfrmCustomDlg::~TfrmCustomDlg()
{
    DestroyTree();
}

int TfrmCustomDlg::RunModal()
{
    answered_ = false;
    return ShowModal();
}

void TfrmCustomDlg::Answer(const char* word)
{
    answerSlot_.SetText(word);
    answered_ = true;
    SetModalResult(1);
}

// A close request from outside (the system's close command) would leave no
// answer: only the buttons end the dialog.
bool TfrmCustomDlg::FormCloseQuery()
{
    return answered_;
}
