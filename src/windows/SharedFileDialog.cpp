#include "windows/SharedFileDialog.h"

#include "windows/ControlIds.h"

SharedFileDialog::SharedFileDialog(HWND owner, Label& answerSlot)
    // A dialog frame without title-bar buttons: only the four buttons end it.
    : Form(WindowClassNames::SharedFileDialog, "ファイル削除の確認", WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME, 426, 121, owner),
      messageLabel(*this, SharedFileDialogIds::messageLabel, {8, 8, 409, 73}, "", LabelLayout::NoWrap),
      yesButton(*this, SharedFileDialogIds::yesButton, {8, 88, 97, 25}, "はい(&Y)"),
      noButton(*this, SharedFileDialogIds::noButton, {112, 88, 97, 25}, "いいえ(&N)"),
      deleteAllButton(*this, SharedFileDialogIds::deleteAllButton, {216, 88, 97, 25}, "すべて削除(&D)"),
      keepAllButton(*this, SharedFileDialogIds::keepAllButton, {320, 88, 97, 25}, "すべて保存(&A)"),
      answerSlot_(answerSlot)
{
    yesButton.OnClick([this] { OnYes(); });
    noButton.OnClick([this] { OnNo(); });
    deleteAllButton.OnClick([this] { OnDeleteAll(); });
    keepAllButton.OnClick([this] { OnKeepAll(); });
    CenterOnScreen();
}

SharedFileDialog::~SharedFileDialog()
{
    DestroyTree();
}

int SharedFileDialog::RunModal()
{
    answered_ = false;
    return ShowModal();
}

void SharedFileDialog::Answer(const char* word)
{
    answerSlot_.SetText(word);
    answered_ = true;
    SetModalResult(1);
}

// A close request from outside (the system's close command) would leave no
// answer: only the buttons end the dialog.
bool SharedFileDialog::CanClose()
{
    return answered_;
}
