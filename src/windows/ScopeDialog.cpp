#include "windows/ScopeDialog.h"

#include "windows/ControlIds.h"

ScopeDialog::ScopeDialog(HWND owner, bool elevated)
    : Form(WindowClassNames::ScopeDialog, "セットアップ", WS_POPUP | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME, 378,
           153, owner),
      messageLabel(*this, ScopeDialogIds::messageLabel, {12, 12, 354, 17}, "このプログラムをセットアップする対象を選んでください．",
                   LabelLayout::NoWrap),
      allUsersButton(*this, ScopeDialogIds::allUsersButton, {12, 40, 354, 29}, "すべてのユーザー（管理者権限が必要です）(&A)"),
      currentUserButton(*this, ScopeDialogIds::currentUserButton, {12, 77, 354, 29},
                        "現在のユーザーだけ（管理者権限は不要です）(&U)"),
      cancelButton(*this, ScopeDialogIds::cancelButton, {266, 116, 100, 25}, "キャンセル"),
      elevated_(elevated)
{
    allUsersButton.OnClick([this] { OnChoose(InstallScope::Machine); });
    currentUserButton.OnClick([this] { OnChoose(InstallScope::User); });
    cancelButton.OnClick([this] { OnChoose(std::nullopt); });
    SetCancelButton(cancelButton);
    CenterOnScreen();
}

ScopeDialog::~ScopeDialog()
{
    DestroyTree();
}

int ScopeDialog::RunModal()
{
    answer_.reset();
    return ShowModal();
}

// Enter presses the focused button: the choice that needs no other rights
// than the process has.
void ScopeDialog::OnFirstActivation()
{
    if (defaultFocused_) return;
    defaultFocused_ = true;
    (elevated_ ? allUsersButton : currentUserButton).Focus();
}

void ScopeDialog::OnChoose(std::optional<InstallScope> scope)
{
    answer_ = scope;
    SetModalResult(scope ? 1 : 2);
}
