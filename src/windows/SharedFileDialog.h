// The four-button question the uninstall asks before it deletes a shared
// file that no program counts as a user any more. The answer is not
// returned: each button writes its answer word into the main window's hidden
// label answerLabel, where it stays, so that "Delete" and "Save" hold for
// the rest of the run.
#pragma once

#include "windows/Controls.h"
#include "windows/Form.h"
#include "windows/UserDialogs.h"

class SharedFileDialog : public Form, public ModalWindow {
public:
    // `answerSlot` is the main window's answerLabel.
    SharedFileDialog(HWND owner, Label& answerSlot);
    ~SharedFileDialog() override;

    // Shows the dialog until one of its four buttons is pressed.
    int RunModal() override;

    Label messageLabel;
    Button yesButton;
    Button noButton;
    Button deleteAllButton;
    Button keepAllButton;

protected:
    bool CanClose() override;

private:
    void OnYes() { Answer("Yes"); }
    void OnNo() { Answer("No"); }
    void OnDeleteAll() { Answer("Delete"); }
    void OnKeepAll() { Answer("Save"); }
    void Answer(const char* word);

    Label& answerSlot_;
    bool answered_ = false;
};
