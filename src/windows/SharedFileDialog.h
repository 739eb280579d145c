// The four-button question the uninstall asks before it deletes a shared
// file that no program counts as a user any more. Its answer is the button
// pressed, kept by the dialog until it is asked again.
#pragma once

#include "windows/Controls.h"
#include "windows/Form.h"
#include "windows/UserDialogs.h"

#include <optional>
#include <string>

// The dialog's four buttons: はい, いいえ, すべて削除, すべて保存.
enum class SharedFileButton { Yes, No, DeleteAll, KeepAll };

class SharedFileDialog : public Form, public ModalWindow {
public:
    explicit SharedFileDialog(HWND owner);
    ~SharedFileDialog() override;

    // Puts `message` into messageLabel and forgets the last answer.
    void SetQuestion(const std::string& message);

    // Shows the dialog until one of its four buttons is pressed.
    int RunModal() override;

    // The button that ended the dialog since SetQuestion; nothing when it
    // was not shown.
    std::optional<SharedFileButton> Answer() const { return answer_; }

    Label messageLabel;
    Button yesButton;
    Button noButton;
    Button deleteAllButton;
    Button keepAllButton;

protected:
    bool CanClose() override;

private:
    void OnPress(SharedFileButton button);

    std::optional<SharedFileButton> answer_;
};
