#include "app/FormRunWindows.h"

#include "services/Clock.h"
#include "text/UserDialogs.h"
#include "windows/MessagePump.h"

FormRunWindows::FormRunWindows(TfrmBack& back, TfrmMain& main, TfrmStatus& status, TfrmCustomDlg& dialog)
    : back_(back), main_(main), status_(status), dialog_(dialog)
{
}

std::string FormRunWindows::FolderText()
{
    return main_.txtFolder.Text();
}

OptionSnapshot FormRunWindows::Options()
{
    return {main_.chkOverWrite.Checked(), main_.chkSCutDesktop.Checked(), main_.chkSCutStartMenu.Checked(),
            main_.chkSCutStartUp.Checked(), main_.chkSCutSendTo.Checked()};
}

bool FormRunWindows::DeleteAllForm()
{
    return !main_.chkSCutStartMenu.Visible() && !main_.chkSCutStartUp.Visible() && !main_.chkSCutSendTo.Visible();
}

void FormRunWindows::DisableOptions()
{
    for (CheckBox* box : {&main_.chkSCutDesktop, &main_.chkSCutStartMenu, &main_.chkSCutStartUp, &main_.chkSCutSendTo})
        box->SetEnabled(false);
}

void FormRunWindows::ShowMain(bool visible)
{
    if (visible)
        main_.Show();
    else
        main_.Hide();
}

void FormRunWindows::PrepareCompletionLayout()
{
    main_.btnEnd.SetVisible(false);
    main_.btnEvent.SetLeft((main_.ClientWidth() - main_.btnEvent.Width()) / 2);
}

// The abort handler of the progress window disables the main window.
bool FormRunWindows::AbortRequested()
{
    return !main_.Enabled();
}

std::string FormRunWindows::ShareAnswer()
{
    return main_.lblFormShare.Text();
}

void FormRunWindows::SetShareAnswer(const std::string& answer)
{
    main_.lblFormShare.SetText(answer);
}

// The main window shows the report until the user presses btnEvent, which
// disables it ("続行(&C)"); then the progress window comes back.
void FormRunWindows::ShowFailureDetails(const std::string& report, const std::string& frameCaption,
                                        bool verticalScrollBar)
{
    if (verticalScrollBar) main_.txtReadme.SetScrollBars(ScrollBars::Vertical);
    main_.txtReadme.SetText(report);
    main_.btnEvent.SetText("続行(&C)");
    main_.btnEvent.SetEnabled(true);
    main_.fraReadme.SetText(frameCaption);
    main_.ShowReadme(true);
    main_.Show();
    status_.Hide();
    while (main_.btnEvent.Enabled() && !QuitPending()) {
        Wait(200);
        ProcessMessages();
    }
    main_.Hide();
    Wait(500);
    status_.Show();
}

void FormRunWindows::EndRun()
{
    back_.SetEnabled(true);
    main_.SetModalResult(1);
}

void FormRunWindows::EnableBackground()
{
    back_.SetEnabled(true);
}

void FormRunWindows::ShowProgress(bool visible)
{
    if (visible)
        status_.Show();
    else
        status_.Hide();
}

void FormRunWindows::CloseProgress()
{
    status_.Close();
}

void FormRunWindows::SetStatus(const std::string& text)
{
    status_.lblMessage.SetText(text);
    ProcessMessages();
}

void FormRunWindows::ShowProgressFrame(bool visible)
{
    status_.fraStatus.SetVisible(visible);
}

int FormRunWindows::SetProgressPosition(int position)
{
    status_.prgStatus.SetPosition(position);
    return status_.prgStatus.Position();
}

void FormRunWindows::SetProgressText(const std::string& text)
{
    status_.lblStatus.SetText(text);
}

void FormRunWindows::EnableAbort(bool enabled)
{
    status_.btnAbort.SetEnabled(enabled);
}

void FormRunWindows::AskConfirmation(const std::string& message)
{
    dialog_.lblMessage.SetText(message);
    CurrentUserDialogs().RunConfirmDialog(dialog_);
}
