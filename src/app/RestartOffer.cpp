#include "app/RestartOffer.h"

#include "engine/RunState.h"
#include "services/SystemErrorText.h"
#include "services/Win32Files.h"
#include "windows/MessageBox.h"
#include "windows/UserDialogs.h"

bool OfferRestartIfNeeded(const InstallResults& results, RunKind kind)
{
    if (results.rebootNeeded != 1) return false;
    // On IDYES the system restarts by itself.
    if (CurrentUserDialogs().OfferRestart(GetDesktopWindow()) == IDYES) return true;
    ShowMessageBox(kind == RunKind::Install ? "Windowsを再起動すると，セットアップは完了します．"
                                            : "Windowsを再起動すると，アンセットアップは完了します．",
                   "警告", MB_OK | MB_ICONEXCLAMATION);
    return false;
}

namespace {

// A process may restart the system only with its shutdown privilege on.
unsigned long EnableShutdownPrivilege()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return GetLastError();
    const KernelHandle owned(token);
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (!LookupPrivilegeValueW(nullptr, L"SeShutdownPrivilege", &privileges.Privileges[0].Luid)) return GetLastError();
    AdjustTokenPrivileges(owned.Get(), FALSE, &privileges, 0, nullptr, nullptr);
    return GetLastError();  // ERROR_NOT_ALL_ASSIGNED when the account lacks it
}

}  // namespace

bool StartRestart(RunLog& log)
{
    const unsigned long privilege = EnableShutdownPrivilege();
    if (privilege != ERROR_SUCCESS) {
        log.Line(WithSystemError("Restart not started: the shutdown privilege could not be enabled", privilege));
        return false;
    }
    if (!ExitWindowsEx(EWX_REBOOT, SHTDN_REASON_MAJOR_APPLICATION | SHTDN_REASON_MINOR_INSTALLATION |
                                       SHTDN_REASON_FLAG_PLANNED)) {
        log.Line(WithSystemError("Restart not started", GetLastError()));
        return false;
    }
    log.Line("Restart started");
    return true;
}
