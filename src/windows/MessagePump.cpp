#include "windows/MessagePump.h"

#include "windows/Form.h"

namespace {

PumpObserver* installed = nullptr;
bool quitSeen = false;

}  // namespace

void DispatchWindowMessage(MSG& message)
{
    HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (Form::FromHandle(root) != nullptr && IsDialogMessageW(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void ProcessMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The quit belongs to the outer message loop: leave it for there.
            quitSeen = true;
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        DispatchWindowMessage(message);
    }
    if (installed != nullptr) installed->AfterPump();
}

void PumpUntil(const std::function<bool()>& done)
{
    // What is queued already (the screen that now waits, being painted) goes
    // first; then each wait ends with the next message, the press among them.
    ProcessMessages();
    while (!done() && !quitSeen) {
        WaitMessage();
        ProcessMessages();
    }
}

bool QuitPending()
{
    return quitSeen;
}

void InstallPumpObserver(PumpObserver* observer)
{
    installed = observer;
}
