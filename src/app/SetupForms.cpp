#include "app/SetupForms.h"

#include "windows/MessagePump.h"

SetupForms::SetupForms(RunState& runState)
    : state(runState),
      backdrop(application.Handle()),
      mainWindow(application.Handle(), backdrop, signals, state),
      progressWindow(application.Handle(), &backdrop, &mainWindow, signals),
      sharedFileDialog(application.Handle()),
      runWindows(backdrop, mainWindow, progressWindow, sharedFileDialog, signals, state),
      windowCalls(signals.hold),
      workerWindows(runWindows, windowCalls, signals, state)
{
    backdrop.SetRunWindow(mainWindow);
    mainWindow.SetPerson(runWindows, workerWindows);
}

void SetupForms::Run()
{
    application.ShowTaskBarButton();
    backdrop.ShowMaximized();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchWindowMessage(message);
}
