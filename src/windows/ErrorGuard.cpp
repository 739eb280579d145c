#include "windows/ErrorGuard.h"

#include "services/SetupError.h"
#include "text/MessageBox.h"
#include "windows/ApplicationWindow.h"

#include <exception>

namespace {

void ShowError(const std::string& text) noexcept
{
    try {
        ShowMessageBox(text, ApplicationTitle, MB_OK | MB_ICONHAND);
    } catch (...) {
        // Not even the box could be shown (out of memory): nothing is left to
        // tell the user with, and the exception must not leave the procedure.
    }
}

}  // namespace

LRESULT RunGuarded(const std::function<LRESULT()>& handler) noexcept
{
    try {
        return handler();
    } catch (const SetupError& error) {
        ShowError(error.Message());
    } catch (const std::exception& error) {
        ShowError(error.what());
    } catch (...) {
        ShowError("予期しないエラーが発生しました．");
    }
    return 0;
}
