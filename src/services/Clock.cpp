#include "services/Clock.h"

#include <windows.h>

namespace {

class SystemClock final : public Clock {
public:
    void Sleep(unsigned long milliseconds) override { ::Sleep(milliseconds); }
};

Clock* installed = nullptr;

}  // namespace

void Wait(unsigned long milliseconds)
{
    static SystemClock system;
    (installed != nullptr ? *installed : static_cast<Clock&>(system)).Sleep(milliseconds);
}

void InstallClock(Clock* clock)
{
    installed = clock;
}
