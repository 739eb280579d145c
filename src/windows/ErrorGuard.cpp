#include "windows/ErrorGuard.h"

#include "services/SetupError.h"
#include "windows/ApplicationWindow.h"
#include "windows/MessageBox.h"

#include <exception>

void ShowErrorMessage(const std::string& text) noexcept
{
    try {
        ShowMessageBox(text, ApplicationTitle, MB_OK | MB_ICONHAND);
    } catch (...) {
        // Not even the box could be shown (out of memory): nothing is left to
        // tell the user with, and the exception must not leave the procedure.
    }
}

LRESULT RunGuarded(const std::function<LRESULT()>& handler) noexcept
{
    try {
        return handler();
    } catch (const SetupError& error) {
        ShowErrorMessage(error.Message());
    } catch (const std::exception& error) {
        ShowErrorMessage(error.what());
    } catch (...) {
        ShowErrorMessage("予期しないエラーが発生しました．");
    }
    return 0;
}
