#include "services/FreeSpace.h"

#include "script/PathParts.h"
#include "services/SystemLibraries.h"
#include "services/Win32Files.h"
#include "text/Unicode.h"

#include <windows.h>

#include <cmath>
#include <limits>

namespace {

using GetDiskFreeSpaceExProc = BOOL(WINAPI*)(LPCWSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

}  // namespace

FreeSpaceResult QueryFreeSpaceEx(const std::string& drive)
{
    const std::string root = WithTrailingBackslash(drive);
    FreeSpaceResult result;
    // Older systems lack the extended call, so it is looked up, not linked.
    ModuleHandle kernel(LoadSystemLibrary(L"KERNEL32.DLL"));
    if (!kernel) return result;
    const auto query = reinterpret_cast<GetDiskFreeSpaceExProc>(
        reinterpret_cast<void*>(GetProcAddress(kernel.Get(), "GetDiskFreeSpaceExW")));
    if (query == nullptr) return result;
    ULARGE_INTEGER available{};
    ULARGE_INTEGER total{};
    ULARGE_INTEGER totalFree{};
    if (!query(WideFromShiftJis(root).c_str(), &available, &total, &totalFree)) return result;
    result.succeeded = true;
    result.freeBytes = static_cast<int64_t>(available.QuadPart);
    return result;
}

FreeSpaceResult QueryFreeSpace(const std::string& drive)
{
    const std::string root = WithTrailingBackslash(drive);
    FreeSpaceResult result;
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD totalClusters = 0;
    if (!GetDiskFreeSpaceW(WideFromShiftJis(root).c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return result;
    // The factors are unsigned: taken as signed 32-bit numbers, a count of
    // clusters above 2^31 on a large drive would make the space negative.
    // The product goes through the 64-bit mantissa of long double.
    const long double bytes = static_cast<long double>(freeClusters) * sectorsPerCluster * bytesPerSector;
    constexpr long double largest = static_cast<long double>(std::numeric_limits<int64_t>::max());
    result.succeeded = true;
    result.freeBytes = bytes >= largest ? std::numeric_limits<int64_t>::max() : std::llroundl(bytes);
    return result;
}
