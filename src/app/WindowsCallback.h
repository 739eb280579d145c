// The windows' side of the boundary to the person: every caption, message,
// icon and button of the install and uninstall, the pauses that let the
// person read the progress window, and the message pump that lets the
// person press abort. Beside the boundary it offers the window operations
// themselves, for the start-up and for tests that look at single screens.
#pragma once

#include "app/MainWindow.h"
#include "ui/SetupCallback.h"
#include "windows/Backdrop.h"
#include "windows/ProgressWindow.h"
#include "windows/SharedFileDialog.h"

#include <optional>

// The designed pauses, on whichever thread keeps them: before the progress
// window takes the main window's place, and after a status text that stays
// on the screen a moment; 0 for none.
unsigned long ProgressWindowPause(RunKind kind);
unsigned long StatusPause(const StatusStep& step);

// The states of the main window's option boxes.
struct OptionSnapshot {
    bool overWrite = false;  // overwriteBox
    bool desktop = false;    // desktopBox (uninstall: "*.INI" or delete-all)
    bool startMenu = false;  // startMenuBox (uninstall: "*.GID")
    bool startUp = false;    // startUpBox
    bool sendTo = false;     // sendToBox
};

class WindowsCallback final : public SetupCallback {
public:
    WindowsCallback(Backdrop& back, MainWindow& main, ProgressWindow& status, SharedFileDialog& dialog, RunSignals& signals,
                    const RunSettings& settings);

    // --- the boundary
    InstallChoices TakeInstallChoices() override;
    UninstallChoices TakeUninstallChoices() override;
    void RunStarting(RunKind kind) override;
    void ShowStatus(const StatusStep& step) override;
    bool AbortRequested() override;
    void StepDone() override;
    void AllowAbort(bool allowed) override;
    void ShowCopyProgress(bool shown) override;
    void CopyProgressed(const CopyProgress& progress) override;
    bool GoOnWithoutJournal(const std::string& journalPath) override;
    bool CreateSetupFolder(const std::string& folder) override;
    void SetupFolderNotCreated() override;
    void SetupFolderRefused(const std::string& folder, const SetupFolderRefusal& refusal) override;
    bool ContinueShortOfSpace(bool freeSpaceKnown, int64_t neededBytes) override;
    bool InsertDisk(int number, std::string& diskFolder) override;
    bool Overwrite(const std::string& path) override;
    void ProgressByEntries() override;
    bool Associate(const std::string& extension, const std::string& program) override;
    void RegistrationFailed(const std::string& path, RegistrationFailure failure) override;
    void ProgramNotStarted() override;
    void SetupFolderUnknown() override;
    bool DeleteWithCaution(const std::string& path) override;
    bool DeleteUncountedComponent(const std::string& path) override;
    SharedFileAnswer AskSharedFile(const std::string& path) override;
    bool OfferFailureReport(RunKind kind) override;
    void ShowFailureReport(RunKind kind, const FailureReport& report) override;
    void InstallCompleted(bool pointToAddRemove) override;
    void UninstallCompleted() override;
    void ReportError(const std::string& message) override;
    void Abandon(StopCause cause) override;
    void EndRun() override;
    void FinishRun() override;
    void CloseProgress() override;

    // --- the main window
    std::string FolderText();  // folderBox
    OptionSnapshot Options();
    // The uninstall's delete-all form, as the start-up read it.
    bool DeleteAllForm();
    void DisableOptions();  // the four option boxes
    void ShowMain(bool visible);
    // Hides quitButton and centres actionButton horizontally in the main window.
    void PrepareCompletionLayout();
    // The failure details screen: `report` in readmeBox (with a vertical
    // scroll bar when asked), readmeFrame captioned `frameCaption`, actionButton
    // "続行(&C)" enabled; the main window shown and the progress window
    // hidden until the person presses actionButton; then back to the progress
    // window.
    void ShowFailureDetails(const std::string& report, const std::string& frameCaption, bool verticalScrollBar);
    void EnableBackground();

    // --- the progress window
    void ShowProgress(bool visible);
    // Sets its message label and lets the message queue run once.
    void SetStatus(const std::string& text);
    // The same without the queue, for a caller that sets the count too and
    // then lets the queue run once (the window side's tick).
    void SetStatusText(const std::string& text);
    void SetCopyProgress(const CopyProgress& progress);
    void ShowProgressFrame(bool visible);  // progressFrame
    // Sets the bar and returns the position read back from it.
    int SetProgressPosition(int position);
    void SetProgressText(const std::string& text);  // progressLabel
    void EnableAbort(bool enabled);                 // abortButton

    // --- the confirmation dialog
    // Shows the four-button dialog with `message`; the button that ended
    // it, or nothing when it was not shown.
    std::optional<SharedFileButton> AskConfirmation(const std::string& message);

private:
    Backdrop& back_;
    MainWindow& main_;
    ProgressWindow& status_;
    SharedFileDialog& dialog_;
    RunSignals& signals_;
    const RunSettings& settings_;  // the pause between steps
};
