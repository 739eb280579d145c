#include "services/SharedComponents.h"

#include "script/ScopeExit.h"
#include "script/TextCase.h"
#include "services/FileOps.h"
#include "services/RegistryAccess.h"
#include "services/SetupError.h"
#include "services/SystemLibraries.h"
#include "services/Win32Com.h"
#include "services/Win32Files.h"
#include "text/Unicode.h"

#include <windows.h>

namespace {

// DllRegisterServer and DllUnregisterServer: no arguments, a 32-bit status.
using RegistrationEntry = HRESULT(WINAPI*)();

RegistrationEntry FindEntry(const ModuleHandle& library, const char* name)
{
    return reinterpret_cast<RegistrationEntry>(reinterpret_cast<void*>(GetProcAddress(library.Get(), name)));
}

// A file that is no loadable library must fail quietly, with our own box
// only: the system must not put up its own error dialog for it. The
// component comes from where the script put it, the DLLs it needs from
// beside it or the system folder.
ModuleHandle LoadComponent(const std::string& path)
{
    DWORD previousMode = 0;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
    const ScopeExit restoreMode([previousMode] { SetThreadErrorMode(previousMode, nullptr); });
    return ModuleHandle(LoadComponentLibrary(WideFromShiftJis(path).c_str()));
}

}  // namespace

int GetSharedCount(const std::string& path, ChangeJournal& journal)
{
    RegistryAccess registry(HKEY_LOCAL_MACHINE, journal);
    if (!registry.OpenKey(SharedDllsKey, true)) return 0;
    return registry.ReadInteger(path).value_or(0);
}

int AdjustSharedCount(const std::string& path, bool increment, ChangeJournal& journal)
{
    int count = GetSharedCount(path, journal);
    if (increment) {
        if (count == 0 && FileExists(path)) count = 1;
        ++count;
    } else {
        --count;
    }
    // A list that cannot be opened shows as the write failure of the value.
    RegistryAccess registry(HKEY_LOCAL_MACHINE, journal);
    registry.OpenKey(SharedDllsKey, true);
    if (count > 0)
        registry.WriteInteger(path, count);
    else
        registry.DeleteValue(path);
    return count;
}

SharedCountRaise::SharedCountRaise(std::string path, ChangeJournal& journal)
    : path_(std::move(path)), journal_(&journal)
{
    if (!path_.empty()) AdjustSharedCount(path_, true, *journal_);
}

SharedCountRaise::~SharedCountRaise()
{
    try {
        Undo();
    } catch (const SetupError&) {
        // The registry refuses the count now: nothing is left to tell it with.
    }
}

void SharedCountRaise::Undo()
{
    if (path_.empty()) return;
    const std::string path = std::move(path_);
    path_.clear();
    AdjustSharedCount(path, false, *journal_);
}

bool IsRegistrable(const std::string& path)
{
    return Contains(path, ".OCX") || Contains(path, ".DLL");
}

RegistrationResult SelfRegister(const std::string& path, bool doRegister)
{
    // A component's registration may use COM itself.
    ComApartment::Need();
    const ModuleHandle library = LoadComponent(path);
    if (!library) return RegistrationResult::NotLoaded;
    if (!doRegister) {
        // Unregistration is best effort: its outcome changes nothing.
        if (const RegistrationEntry unregister = FindEntry(library, "DllUnregisterServer")) unregister();
        return RegistrationResult::Done;
    }
    const RegistrationEntry registerEntry = FindEntry(library, "DllRegisterServer");
    if (registerEntry == nullptr) return RegistrationResult::NoEntry;
    // Only exactly 0 is success; S_FALSE (1) and other positive values fail.
    return registerEntry() == 0 ? RegistrationResult::Done : RegistrationResult::EntryFailed;
}

UserClassesOverride::UserClassesOverride()
{
    const RegKey classes = CreateRegKey(HKEY_CURRENT_USER, "Software\\Classes");
    // The system keeps its own handle of the key: ours may close.
    active_ = classes && RegOverridePredefKey(HKEY_CLASSES_ROOT, classes.Get()) == ERROR_SUCCESS;
    // Type libraries that a component registers through OLE Automation go
    // to the user's classes too (Windows Vista and later; found by name,
    // since older systems lack the call).
    automation_ = ModuleHandle(LoadLibraryExW(L"oleaut32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    using EnablePerUser = void(WINAPI*)();
    if (automation_) {
        const auto enable = reinterpret_cast<EnablePerUser>(
            reinterpret_cast<void*>(GetProcAddress(automation_.Get(), "OaEnablePerUserTLibRegistration")));
        if (enable != nullptr) enable();
    }
}

UserClassesOverride::~UserClassesOverride()
{
    if (active_) RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
}
