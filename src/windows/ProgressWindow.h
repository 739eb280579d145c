// The progress window: what the install or uninstall procedure is doing, a
// progress bar with a count during the file copy, and the abort button.
// Hidden until a procedure shows it; never shown modally. The abort is
// signalled in the run's signals, which the install procedure polls.
#pragma once

#include "windows/Controls.h"
#include "windows/Form.h"
#include "windows/RunSignals.h"

class ProgressWindow : public Form {
public:
    // `background` and `main` are the windows the abort acts on; a window
    // that shows the progress alone (an unattended run's) has neither, and
    // its abort button is never enabled.
    ProgressWindow(HWND owner, Form* background, Form* main, RunSignals& signals);
    ~ProgressWindow() override;

    GroupBox messageGroup;
    Label messageLabel;
    GroupBox progressFrame;
    ProgressBar progressBar;
    Label progressLabel;
    Button abortButton;

    // The count beside the bar, which screen readers hear as the bar's value.
    void ShowCount(const std::string& text);

private:
    void OnCreate();
    void OnAbort();

    Form* background_;
    Form* main_;
    RunSignals& signals_;
};
