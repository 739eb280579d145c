// Letting the message queue run once from inside a long procedure, so that
// windows repaint and the abort button is handled.
#pragma once

// Called after each pump; tests use it to act at a given moment, as a person
// would (press the abort button while a given status text shows...).
class PumpObserver {
public:
    virtual ~PumpObserver() = default;
    virtual void AfterPump() = 0;
};

// Handles every pending message of the thread, then tells the observer.
void ProcessMessages();

void InstallPumpObserver(PumpObserver* observer);
