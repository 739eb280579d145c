#include "app/RestartOffer.h"

#include "engine/RunState.h"
#include "windows/MessageBox.h"
#include "windows/UserDialogs.h"

void OfferRestartIfNeeded(const InstallResults& results)
{
    if (results.rebootNeeded != 1) return;
    // On IDYES the system restarts by itself.
    if (CurrentUserDialogs().OfferRestart(GetDesktopWindow()) == IDNO)
        ShowMessageBox("Windowsを再起動すると，セットアップは完了します．", "警告", MB_OK | MB_ICONEXCLAMATION);
}
