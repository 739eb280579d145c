#include "windows/UserDialogs.h"

#include "services/SystemLibraries.h"
#include "services/Win32Files.h"
#include "text/Unicode.h"

#include <utility>

namespace {

// shell32 exports the restart dialog by ordinal only.
using RestartDialogProc = int(WINAPI*)(HWND owner, LPCWSTR prompt, DWORD kind);
constexpr int RestartDialogOrdinal = 59;

class SystemDialogs final : public UserDialogs {
public:
    int ShowBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) override
    {
        return MessageBoxW(owner, WideFromShiftJis(text).c_str(), WideFromShiftJis(caption).c_str(), flags);
    }

    int OfferRestart(HWND owner) override
    {
        ModuleHandle shell(LoadSystemLibrary(L"shell32.dll"));
        if (!shell) return IDNO;
        auto restart = reinterpret_cast<RestartDialogProc>(
            reinterpret_cast<void*>(GetProcAddress(shell.Get(), MAKEINTRESOURCEA(RestartDialogOrdinal))));
        if (restart == nullptr) return IDNO;
        // Windows answers IDYES or IDNO. Wine's restart dialog answers 0 when
        // the user declines (accepting ends the session), which is a no all
        // the same.
        const int answer = restart(owner, nullptr, EWX_REBOOT);
        return answer == 0 ? IDNO : answer;
    }

    void RunConfirmDialog(ModalWindow& dialog) override { dialog.RunModal(); }
};

UserDialogs* installed = nullptr;

}  // namespace

UserDialogs& CurrentUserDialogs()
{
    static SystemDialogs system;
    return installed != nullptr ? *installed : system;
}

UserDialogs* InstallUserDialogs(UserDialogs* dialogs)
{
    return std::exchange(installed, dialogs);
}
