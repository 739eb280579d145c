// The four-button question the uninstall asks before it deletes a shared
// file that no program counts as a user any more. The answer is not
// returned: each button writes its answer word into the main window's hidden
// label lblFormShare, where it stays, so that "Delete" and "Save" hold for
// the rest of the run.
#pragma once

#include "windows/UserDialogs.h"
#include "windows/Controls.h"
#include "windows/Form.h"

class TfrmCustomDlg : public Form, public ModalWindow {
public:
    // `answerSlot` is the main window's lblFormShare.
    TfrmCustomDlg(HWND owner, Label& answerSlot);
    ~TfrmCustomDlg() override;

    // Shows the dialog until one of its four buttons is pressed.
    int RunModal() override;

    Label lblMessage;
    Button btnYes;
    Button btnNo;
    Button btnDelete;
    Button btnSave;

protected:
    bool FormCloseQuery() override;

private:
    void btnYesClick() { Answer("Yes"); }
    void btnNoClick() { Answer("No"); }
    void btnDeleteClick() { Answer("Delete"); }
    void btnSaveClick() { Answer("Save"); }
    void Answer(const char* word);

    Label& answerSlot_;
    bool answered_ = false;
};
