// Driving SETUP.EXE from outside, as a person would: start it as its own
// process, find its windows by class and caption and its controls by their
// identifiers, read texts and states, press buttons and answer message
// boxes. Every wait is for a settled state, with a timeout.
#pragma once

#include "services/Win32Files.h"
#include "support/Utf8.h"

#include <windows.h>

#include <functional>
#include <string>

inline constexpr DWORD SettleTimeout = 15000;

// A SETUP.EXE process started by the driver, with its own temporary folder
// (TMP and TEMP), so that its work folders are the caller's to inspect.
// A command line to be run exactly as written, the way the shell runs a
// stored command such as an Add/Remove entry's UninstallString.
struct ExactCommandLine {
    std::string text;
};

class SetupProcess {
public:
    SetupProcess(const std::string& program, const std::string& argument, const std::string& tempFolder);
    SetupProcess(const ExactCommandLine& commandLine, const std::string& tempFolder);
    ~SetupProcess();
    SetupProcess(const SetupProcess&) = delete;
    SetupProcess& operator=(const SetupProcess&) = delete;

    bool Started() const { return process_.Valid(); }
    DWORD Id() const { return id_; }
    bool Running() const;
    // Ends the process at once, as a crash or a deployment tool's time-out
    // would, and waits until it has gone.
    void Kill();
    // Waits for the end; false when it did not come in time.
    bool WaitForExit(DWORD timeout = SettleTimeout);
    DWORD ExitCode() const;

private:
    void Start(std::string commandLine, const std::string& tempFolder);

    KernelHandle process_;
    DWORD id_ = 0;
};

// `text` in double quotes, as a command line quotes a path.
std::string Quoted(const std::string& text);

// Polls `condition` until it holds; false when `timeout` passed first.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout = SettleTimeout);

// The visible top-level window of process `id` with this window class and,
// when given, this caption; nullptr when there is none.
HWND FindWindowOf(DWORD id, const std::string& className, const std::string* caption = nullptr);
// Any visible top-level window of process `id`.
bool HasVisibleWindow(DWORD id);

// The control of `form` (at any depth) with this identifier.
HWND ControlOf(HWND form, int id);

// The text as the window itself reports it (WM_GETTEXT), also for edit
// controls of another process.
std::string TextOf(HWND window);
bool IsShown(HWND window);
bool IsChecked(HWND checkBox);

// Has `window` and everything in it painted now, and the picture handed to
// the display, before a screenshot.
void PaintNow(HWND window);

// Presses a button by posting the click, so that a button that opens a
// modal box does not block the driver.
void Press(HWND button);

// A system message box of process `id` with this caption, once it shows.
HWND WaitForMessageBox(DWORD id, const std::string& caption, DWORD timeout = SettleTimeout);
std::string MessageBoxText(HWND box);
// Answers a message box with IDYES, IDNO, IDOK...
void Answer(HWND box, int button);

