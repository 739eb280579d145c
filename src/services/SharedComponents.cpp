#include "services/SharedComponents.h"

#include "services/FileOps.h"
#include "services/RegistryAccess.h"
#include "services/Win32Files.h"
#include "text/MessageBox.h"
#include "text/StrOp.h"

#include <windows.h>

namespace {

constexpr char RegistrationErrorCaption[] = "OCX/DLL登録エラー";
constexpr uint16_t RegistrationErrorFlags = MB_OK | MB_ICONEXCLAMATION;

// DllRegisterServer and DllUnregisterServer: no arguments, a 32-bit status.
using RegistrationEntry = HRESULT(WINAPI*)();

RegistrationEntry FindEntry(const ModuleHandle& library, const char* name)
{
    return reinterpret_cast<RegistrationEntry>(reinterpret_cast<void*>(GetProcAddress(library.Get(), name)));
}

void ReportRegistrationError(const std::string& path, const std::string& what)
{
    ShowMessageBox(path + what, RegistrationErrorCaption, RegistrationErrorFlags);
}

// A file that is no loadable library must fail quietly, with our own box
// only: the system must not put up its own error dialog for it.
ModuleHandle LoadComponent(const std::string& path)
{
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    ModuleHandle library(LoadLibraryA(path.c_str()));
    SetThreadErrorMode(previousMode, nullptr);
    return library;
}

}  // namespace

int GetSharedCount(const std::string& path)
{
    RegistryAccess registry(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKey(SharedDllsKey, true)) return 0;
    return registry.ReadInteger(path).value_or(0);
}

int AdjustSharedCount(const std::string& path, bool increment)
{
    int count = GetSharedCount(path);
    if (increment) {
        if (count == 0 && FileExists(path)) count = 1;
        ++count;
    } else {
        --count;
    }
    // A list that cannot be opened shows as the write failure of the value.
    RegistryAccess registry(HKEY_LOCAL_MACHINE);
    registry.OpenKey(SharedDllsKey, true);
    if (count > 0)
        registry.WriteInteger(path, count);
    else
        registry.DeleteValue(path);
    return count;
}

bool IsRegistrable(const std::string& path)
{
    return Contains(path, ".OCX") || Contains(path, ".DLL");
}

bool SelfRegister(const std::string& path, bool doRegister)
{
    const ModuleHandle library = LoadComponent(path);
    if (!library) {
        ReportRegistrationError(path, "の読み込みに失敗しました．");
        return false;
    }
    if (!doRegister) {
        // Unregistration is best effort: its outcome changes nothing.
        if (const RegistrationEntry unregister = FindEntry(library, "DllUnregisterServer")) unregister();
        return false;
    }
    const RegistrationEntry registerEntry = FindEntry(library, "DllRegisterServer");
    if (registerEntry == nullptr) {
        ReportRegistrationError(path, "のDllRegisterServerエントリが見つかりません．");
        return false;
    }
    // Only exactly 0 is success; S_FALSE (1) and other positive values fail.
    if (registerEntry() == 0) return true;
    ReportRegistrationError(path, "のDllRegisterServer関数が失敗しました．");
    return false;
}
