#include "app/SetupForms.h"

#include "windows/MessagePump.h"

SetupForms::SetupForms()
    : frmBack(application.Handle()),
      frmMain(application.Handle(), frmBack, signals),
      frmStatus(application.Handle(), frmBack, frmMain, signals),
      frmCustomDlg(application.Handle(), frmMain.lblFormShare),
      runWindows(frmBack, frmMain, frmStatus, frmCustomDlg, signals)
{
    frmBack.SetRunWindow(frmMain);
    frmMain.SetPerson(runWindows);
}

void SetupForms::Run()
{
    application.ShowTaskBarButton();
    frmBack.ShowMaximized();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchWindowMessage(message);
}
