// The whole program made modal to one box or window for as long as this
// lives: the program's top-level windows that take input are disabled, and
// at the end exactly those are enabled again, with activation and keyboard
// focus given back, whatever way the modal part ended (an answer, a failure
// of the box, an exception out of a stand-in responder). The enabled states
// other parts rely on survive.
#pragma once

#include <windows.h>

#include <vector>

class ProgramModality {
public:
    enum class Scope {
        // Every enabled top-level window of the thread, shown or not: a
        // message box, under which nothing may be pressed.
        AllEnabled,
        // Every other visible, enabled top-level window: a window's own
        // modal run.
        VisibleOthers,
    };

    explicit ProgramModality(Scope scope, HWND modal = nullptr);
    ~ProgramModality();
    ProgramModality(const ProgramModality&) = delete;
    ProgramModality& operator=(const ProgramModality&) = delete;

private:
    HWND active_;
    HWND focus_;
    std::vector<HWND> disabled_;
};
