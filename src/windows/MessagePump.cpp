#include "windows/MessagePump.h"

#include <windows.h>

namespace {

PumpObserver* installed = nullptr;

}  // namespace

void ProcessMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The quit belongs to the outer message loop: leave it for there.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (installed != nullptr) installed->AfterPump();
}

void InstallPumpObserver(PumpObserver* observer)
{
    installed = observer;
}
