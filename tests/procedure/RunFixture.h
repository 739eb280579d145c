// A run of the program in-process, on its real windows: a run state, a
// distribution folder, a temporary folder and a Windows folder of the test's
// own, the four windows, and the start-up pointed at those folders.
#pragma once

#include "app/SetupForms.h"
#include "engine/RunState.h"
#include "support/Scratch.h"
#include "windows/MessagePump.h"

#include <functional>
#include <string>
#include <vector>

class RunFixture {
public:
    RunFixture() = default;
    RunFixture(const RunFixture&) = delete;
    RunFixture& operator=(const RunFixture&) = delete;

    // SETUP.INI beside the "executable": the distribution folder.
    void WriteScript(const std::string& text) const;

    // The start-up, as the first activation runs it, with the distribution,
    // temporary and Windows folders of this fixture. `folderErrors` stands for
    // the fatal lines of folders the system could not supply.
    void Start(const std::string& argument = "", const std::string& folderErrors = "");

    // The work folder OVTMP<n> under the fixture's temporary folder.
    std::string WorkFolder(int n) const;

    ScratchFolder source{"dist"};
    ScratchFolder temp{"tmp"};
    ScratchFolder windows{"win"};
    RunState state;
    SetupForms forms{state};
    MainWindow& main = forms.mainWindow;
    Backdrop& back = forms.backdrop;
    ProgressWindow& status = forms.progressWindow;
    SharedFileDialog& dialog = forms.sharedFileDialog;
    WindowsCallback& run = forms.runWindows;
};

// Fails the test and ends a modal run that would otherwise never end: after
// `seconds`, the background is enabled (no close question) and the form's
// modal result set.
class ModalWatchdog {
public:
    ModalWatchdog(Form& background, Form& modal, unsigned seconds = 10);
    ~ModalWatchdog();
    ModalWatchdog(const ModalWatchdog&) = delete;
    ModalWatchdog& operator=(const ModalWatchdog&) = delete;

private:
    static void CALLBACK Expired(HWND, UINT, UINT_PTR, DWORD);
    UINT_PTR timer_;
};

// Watches the run at every message pump as a person watching the screen
// would: notes the progress message, acts once at a chosen one, and presses
// actionButton ("続行(&C)") once the failure details show, noting what they
// showed. One watcher at a time: it is the pump's only observer.
class RunWatcher final : public PumpObserver {
public:
    explicit RunWatcher(RunFixture& run);
    ~RunWatcher() override;
    RunWatcher(const RunWatcher&) = delete;
    RunWatcher& operator=(const RunWatcher&) = delete;
    void AfterPump() override;

    // Acts once, at the first pump that finds `text` as the progress message.
    void At(const std::string& text, std::function<void()> action);

    std::vector<std::string> texts;             // the progress message at every pump
    std::vector<std::string> progressMessages;  // each new one while the progress window shows
    std::string reportShown;                    // readmeBox while the details showed
    std::string frameShown;                     // readmeFrame's caption then
    bool verticalScrollBar = false;

private:
    void ContinueFromDetails();

    RunFixture& run_;
    std::string atText_;
    std::function<void()> action_;
};
