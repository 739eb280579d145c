// Everything the install and uninstall procedures do with the windows, in one
// narrow interface implemented once by the real windows. No routine of the
// procedures reaches for a window handle of its own.
#pragma once

#include <string>

// The states of the main window's option boxes when a procedure starts.
struct OptionSnapshot {
    bool overWrite = false;  // chkOverWrite
    bool desktop = false;    // chkSCutDesktop (uninstall: "*.INI" or delete-all)
    bool startMenu = false;  // chkSCutStartMenu (uninstall: "*.GID")
    bool startUp = false;    // chkSCutStartUp
    bool sendTo = false;     // chkSCutSendTo
};

class RunWindows {
public:
    virtual ~RunWindows() = default;

    // --- the main window
    virtual std::string FolderText() = 0;   // txtFolder
    virtual OptionSnapshot Options() = 0;
    // The uninstall's delete-all form: the last three option boxes hidden.
    virtual bool DeleteAllForm() = 0;
    virtual void DisableOptions() = 0;      // the four option boxes
    virtual void ShowMain(bool visible) = 0;
    // Hides btnEnd and centres btnEvent horizontally in the main window.
    virtual void PrepareCompletionLayout() = 0;
    // True once the user confirmed the abort: the main window is disabled.
    virtual bool AbortRequested() = 0;
    // The hidden label lblFormShare: the confirmation dialog's remembered answer.
    virtual std::string ShareAnswer() = 0;
    virtual void SetShareAnswer(const std::string& answer) = 0;
    // The failure details screen: `report` in txtReadme (with a vertical scroll
    // bar when asked), fraReadme captioned `frameCaption`, btnEvent "続行(&C)"
    // enabled; the main window shown and the progress window hidden until the
    // user presses btnEvent; then back to the progress window.
    virtual void ShowFailureDetails(const std::string& report, const std::string& frameCaption,
                                    bool verticalScrollBar) = 0;
    // Ends the run: enables the background window and sets the main window's
    // modal result to 1.
    virtual void EndRun() = 0;
    virtual void EnableBackground() = 0;

    // --- the progress window
    virtual void ShowProgress(bool visible) = 0;
    virtual void CloseProgress() = 0;
    // Sets its message label and lets the message queue run once.
    virtual void SetStatus(const std::string& text) = 0;
    virtual void ShowProgressFrame(bool visible) = 0;  // fraStatus
    // Sets the bar and returns the position read back from it.
    virtual int SetProgressPosition(int position) = 0;
    virtual void SetProgressText(const std::string& text) = 0;  // lblStatus
    virtual void EnableAbort(bool enabled) = 0;                 // btnAbort

    // --- the confirmation dialog
    // Shows the four-button dialog with `message`; the answer lands in
    // ShareAnswer().
    virtual void AskConfirmation(const std::string& message) = 0;
};
