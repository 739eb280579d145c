// The places where the program waits for a person: the system's message box,
// the restart offer and the four-button confirmation dialog. The shipped
// program shows the real ones; tests install a stand-in that records what was
// asked and gives scripted answers.
#pragma once

#include <windows.h>

#include <string>

// A window that can be shown modally: the confirmation dialog.
class ModalWindow {
public:
    // Runs the window's modal loop until its modal result is set.
    virtual int RunModal() = 0;

protected:
    ~ModalWindow() = default;
};

class UserDialogs {
public:
    virtual ~UserDialogs() = default;

    // A system message box; returns the button identifier (IDOK, IDYES...).
    virtual int ShowBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) = 0;

    // The shell's restart offer; returns IDYES or IDNO.
    virtual int OfferRestart(HWND owner) = 0;

    // Shows the confirmation dialog modally until one of its buttons ends it.
    virtual void RunConfirmDialog(ModalWindow& dialog) = 0;
};

// The dialogs in use: the installed ones, else the system's.
UserDialogs& CurrentUserDialogs();

// Installs `dialogs` for the rest of the process, or until the next call;
// nullptr goes back to the system's. Returns what was installed before, so
// that a stand-in can put it back when it ends.
UserDialogs* InstallUserDialogs(UserDialogs* dialogs);
