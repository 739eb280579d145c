#include "windows/RunSignals.h"

ProcedureHold::Scope::Scope(ProcedureHold& hold) : hold_(hold)
{
    AcquireSRWLockExclusive(&hold_.lock_);
    ++hold_.holds_;
    ReleaseSRWLockExclusive(&hold_.lock_);
}

ProcedureHold::Scope::~Scope()
{
    AcquireSRWLockExclusive(&hold_.lock_);
    const bool released = --hold_.holds_ == 0;
    ReleaseSRWLockExclusive(&hold_.lock_);
    if (released) WakeAllConditionVariable(&hold_.released_);
}

bool ProcedureHold::Held() const
{
    AcquireSRWLockShared(&lock_);
    const bool held = holds_ > 0;
    ReleaseSRWLockShared(&lock_);
    return held;
}

void ProcedureHold::WaitWhileHeld()
{
    AcquireSRWLockExclusive(&lock_);
    while (holds_ > 0) SleepConditionVariableSRW(&released_, &lock_, INFINITE, 0);
    ReleaseSRWLockExclusive(&lock_);
}
