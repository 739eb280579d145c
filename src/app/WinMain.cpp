// Process entry of SETUP.EXE (and of its copy UNOVSET.EXE): one running copy
// at a time, the four windows, the message loop in which the whole run
// happens, and the restart offer at the very end.
#include "app/RestartOffer.h"
#include "app/SetupForms.h"
#include "services/Win32Files.h"
#include "text/MBUtils.h"

#include <windows.h>
#include <objbase.h>

namespace {

constexpr const char* InstanceMutex = "ORVSETUP";

// COM for the thread, for the shell-link objects of the shortcuts.
class ComApartment {
public:
    ComApartment() : initialized_(SUCCEEDED(CoInitialize(nullptr))) {}
    ~ComApartment()
    {
        if (initialized_) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    bool initialized_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    LoadLeadBytes();
    // Another copy holds the mutex: end silently, without a window.
    if (KernelHandle running{OpenMutexA(MUTEX_ALL_ACCESS, FALSE, InstanceMutex)}) {
        PostQuitMessage(0);
        return 0;
    }
    // Held until the process ends; a failure to create it is not checked.
    KernelHandle instance(CreateMutexA(nullptr, FALSE, InstanceMutex));
    ComApartment com;
    // The run's state, for this run alone: the forms and the procedures they
    // start are handed it.
    RunState state;
    {
        SetupForms forms(state);
        forms.Run();
    }
    OfferRestartIfNeeded(state);
    return 0;
}
