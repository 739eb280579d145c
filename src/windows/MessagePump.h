// Letting the message queue run once from inside a long procedure, so that
// windows repaint and the abort button is handled, and the dispatch that
// every message loop of the program shares.
#pragma once

#include <windows.h>

#include <functional>

// Called after each pump; tests use it to act at a given moment, as a person
// would (press the abort button while a given status text shows...).
class PumpObserver {
public:
    virtual ~PumpObserver() = default;
    virtual void AfterPump() = 0;
};

// Handles every pending message of the thread, then tells the observer.
void ProcessMessages();

// Lets the message queue run, sleeping until each next message arrives,
// until `done` holds or a quit is pending: how the program waits for a
// person's press, with no timer. The observer is told after each pump.
void PumpUntil(const std::function<bool()>& done);

// True once a pump has met the quit message (left queued for the outer
// loop): loops that wait for a person should give up.
bool QuitPending();

// Delivers one message: the dialog keys of the program's forms (Tab, arrow
// keys, Alt + mnemonic, Enter on a focused button) are handled as in a
// dialog; everything else is translated and dispatched.
void DispatchWindowMessage(MSG& message);

void InstallPumpObserver(PumpObserver* observer);
