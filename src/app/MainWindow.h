// The main window, through which the user drives a run: the readme, the
// message, the setup folder and the options. The caption of its action
// button actionButton is the window's state; every handler decides by comparing
// it exactly with fixed texts. The window is shown modally by the background
// window, and the run ends when that modal run ends.
#pragma once

#include "app/CommandLine.h"
#include "engine/RunState.h"
#include "install/InstalledProduct.h"
#include "ui/SetupCallback.h"
#include "windows/Backdrop.h"
#include "windows/Controls.h"
#include "windows/FolderDialog.h"
#include "windows/Form.h"
#include "windows/RunSignals.h"

#include <functional>
#include <optional>
#include <string>

// What the main window shows. The action button's caption follows from the
// screen and the mode; the button acts by the screen, not by its caption.
class WorkerCallback;

enum class MainScreen { Starting, Fatal, Readme, Settings, Running, FailureDetails };

class MainWindow : public Form {
public:
    MainWindow(HWND owner, Backdrop& background, RunSignals& signals, RunState& state);
    ~MainWindow() override;

    // The windows as the procedures see them, for OnAction: on this thread
    // (a refused folder) and from the worker thread a procedure runs on.
    void SetPerson(SetupCallback& person, WorkerCallback& procedures)
    {
        person_ = &person;
        procedures_ = &procedures;
    }
    // The command line's switches that a person's run follows too: /DIR=
    // for the folder box, /NOICONS for the shortcut boxes.
    void UseOptions(const RunOptions& options) { options_ = options; }
    // How the install or uninstall ended; nothing when none ran (the person
    // quit before starting one, or the start-up ended at its fatal screen).
    const std::optional<RunOutcome>& Outcome() const { return outcome_; }

    // Fills the run state's folders (the system and shell folders) and
    // returns the fatal error lines for those that could not be obtained.
    using FolderLoader = std::function<std::string(RunState&)>;
    // The start-up: fills the run state, chooses the mode, copies the script
    // or record into the work folder, reads its header and shows the first
    // screen (fatal, readme or settings). `argument` is the first
    // command-line argument.
    void StartUp(const std::string& argument, const FolderLoader& loadFolders);

    // true: the readme frame; false: the message, folder and option groups.
    void ShowReadme(bool flag);

    MainScreen Screen() const { return screen_; }
    // The uninstall's delete-all form, as the start-up read it from the
    // record: the first option box stands for everything below the folder.
    bool DeleteAllForm() const { return deleteAllForm_; }
    // The failure details: actionButton "続行(&C)" until the person presses it.
    void ShowFailureDetailsScreen();
    bool FailureDetailsRead() const { return detailsRead_; }

    // Tab order: the groups, then the two buttons.
    GroupBox readmeFrame;
    Memo readmeBox;
    GroupBox messageGroup;
    Label messageLabel;
    GroupBox folderGroup;
    Edit folderBox;
    Button browseButton;
    GroupBox optionGroup;
    CheckBox overwriteBox;
    GroupBox shortcutFrame;
    Label uninstallInfoLabel;
    CheckBox desktopBox;
    CheckBox startMenuBox;
    CheckBox startUpBox;
    CheckBox sendToBox;
    Button actionButton;
    Button quitButton;
    FolderDialog folderDialog;

protected:
    // The start-up, the first time the window becomes active.
    void OnFirstActivation() override;
    bool CanClose() override;
    void OnClose() override;

private:
    void OnAction();
    void OnBrowse();
    void OnFolderChange() {}
    void OnQuit();
    void ShowScreen(MainScreen screen);
    void StartProcedure();

    // Pieces of the start-up.
    void TellOfEarlierJournal();
    bool OfferOrphanedEntryRemoval(const std::string& record);
    bool AcceptsInstalledVersion(const InstalledComparison& installed);
    void ShowFatalScreen(const std::string& errorText);
    void ReadTitles();
    void EnableShortcutBoxes(bool enabled);
    void ShowMessageText();
    void ShowTitles();
    void ShowSetupScreen();
    void ShowUninstallScreen();

    Backdrop& background_;
    RunSignals& signals_;
    RunState& state_;
    MainScreen screen_ = MainScreen::Starting;
    bool startUpBegun_ = false;
    bool deleteAllForm_ = false;
    bool detailsRead_ = false;
    SetupCallback* person_ = nullptr;
    WorkerCallback* procedures_ = nullptr;
    RunOptions options_;
    std::optional<RunOutcome> outcome_;  // once a procedure ran
};
