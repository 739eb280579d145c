#include "windows/SharedFileDialog.h"

#include "windows/ControlIds.h"

SharedFileDialog::SharedFileDialog(HWND owner)
    // A dialog frame without title-bar buttons: only the four buttons end it.
    : Form(WindowClassNames::SharedFileDialog, "ファイル削除の確認", WS_POPUP | WS_CAPTION, WS_EX_DLGMODALFRAME, 426, 121, owner),
      messageLabel(*this, SharedFileDialogIds::messageLabel, {8, 8, 409, 73}, "", LabelLayout::NoWrap),
      yesButton(*this, SharedFileDialogIds::yesButton, {8, 88, 97, 25}, "はい(&Y)"),
      noButton(*this, SharedFileDialogIds::noButton, {112, 88, 97, 25}, "いいえ(&N)"),
      deleteAllButton(*this, SharedFileDialogIds::deleteAllButton, {216, 88, 97, 25}, "すべて削除(&D)"),
      keepAllButton(*this, SharedFileDialogIds::keepAllButton, {320, 88, 97, 25}, "すべて保存(&A)")
{
    yesButton.OnClick([this] { OnPress(SharedFileButton::Yes); });
    noButton.OnClick([this] { OnPress(SharedFileButton::No); });
    deleteAllButton.OnClick([this] { OnPress(SharedFileButton::DeleteAll); });
    keepAllButton.OnClick([this] { OnPress(SharedFileButton::KeepAll); });
    CenterOnScreen();
}

SharedFileDialog::~SharedFileDialog()
{
    DestroyTree();
}

void SharedFileDialog::SetQuestion(const std::string& message)
{
    messageLabel.SetText(message);
    answer_.reset();
}

int SharedFileDialog::RunModal()
{
    answer_.reset();
    return ShowModal();
}

void SharedFileDialog::OnPress(SharedFileButton button)
{
    answer_ = button;
    SetModalResult(1);
}

// A close request from outside (the system's close command) would leave no
// answer: only the buttons end the dialog.
bool SharedFileDialog::CanClose()
{
    return answer_.has_value();
}
