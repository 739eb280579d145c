#include "uninstall/UninstallCompletion.h"

void CompleteUninstall(SetupCallback& person)
{
    person.UninstallCompleted();
    person.EndRun();
}
