// The named events through which the walk-through and the hook that it puts
// into a SETUP.EXE agree on holding that program's thread: "asked" (the
// walk-through wants the next dialog held), "held" (the thread waits) and
// "released" (it may go on). One set per SETUP.EXE process.
#pragma once

#include <windows.h>

#include <string>

inline std::string HoldEventName(DWORD setupProcess, const char* role)
{
    return "OrvaneSampleTour-" + std::to_string(setupProcess) + "-" + role;
}

// The exported hook procedure of the hold hook library.
inline constexpr char HoldHookProcedure[] = "HoldBeforeDialog";
inline constexpr char HoldHookLibrary[] = "tourhold.dll";
