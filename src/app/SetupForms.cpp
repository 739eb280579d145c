#include "app/SetupForms.h"

#include "windows/MessagePump.h"

SetupForms::SetupForms()
    : backdrop(application.Handle()),
      mainWindow(application.Handle(), backdrop, signals),
      progressWindow(application.Handle(), backdrop, mainWindow, signals),
      sharedFileDialog(application.Handle(), mainWindow.answerLabel),
      runWindows(backdrop, mainWindow, progressWindow, sharedFileDialog, signals)
{
    backdrop.SetRunWindow(mainWindow);
    mainWindow.SetPerson(runWindows);
}

void SetupForms::Run()
{
    application.ShowTaskBarButton();
    backdrop.ShowMaximized();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchWindowMessage(message);
}
