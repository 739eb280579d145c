// The program's windows, created once in their fixed order and kept for the
// whole process: the hidden application window, the background, the main
// window, the progress window and the confirmation dialog; and the two
// sides of the person: the windows' own, and the one a procedure on its
// worker thread reaches them through.
#pragma once

#include "app/MainWindow.h"
#include "app/WindowsCallback.h"
#include "app/WorkerCallback.h"
#include "windows/ApplicationWindow.h"
#include "windows/Backdrop.h"
#include "windows/ProgressWindow.h"
#include "windows/SharedFileDialog.h"

class SetupForms {
public:
    explicit SetupForms(RunState& state);

    // Opens the background maximized, which runs the main window modally,
    // and handles messages until the background has closed.
    void Run();

    RunState& state;
    RunSignals signals;
    HiddenApplicationWindow application;
    Backdrop backdrop;
    MainWindow mainWindow;
    ProgressWindow progressWindow;
    SharedFileDialog sharedFileDialog;
    WindowsCallback runWindows;
    WindowThreadCalls windowCalls;
    WorkerCallback workerWindows;
};
