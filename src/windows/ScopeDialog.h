// The question an install that may be made either for every user or for
// the current user alone asks once, before anything else shows: for whom.
// Its answer is the button pressed; cancel (or the close command) is none.
#pragma once

#include "script/InstallScope.h"
#include "windows/Controls.h"
#include "windows/Form.h"
#include "windows/UserDialogs.h"

#include <optional>

class ScopeDialog : public Form, public ModalWindow {
public:
    // The current user is the choice Enter takes when the process has no
    // administrator rights (`elevated` false), every user when it has them.
    ScopeDialog(HWND owner, bool elevated);
    ~ScopeDialog() override;

    // Shows the dialog until a button or the close command ends it.
    int RunModal() override;

    // The scope chosen; nothing when the person cancelled.
    std::optional<InstallScope> Answer() const { return answer_; }

    Label messageLabel;
    Button allUsersButton;
    Button currentUserButton;
    Button cancelButton;

protected:
    void OnFirstActivation() override;

private:
    void OnChoose(std::optional<InstallScope> scope);

    bool elevated_;
    bool defaultFocused_ = false;
    std::optional<InstallScope> answer_;
};
