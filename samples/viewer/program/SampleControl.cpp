// ORVSMPL.DLL, the sample distribution's shared, self-registering component.
// Registering it records its own path under
// HKEY_CURRENT_USER\Software\Orvane\SampleControl (value "Path");
// unregistering removes that key again.
#include <windows.h>

#include <cstring>

namespace {

HMODULE self = nullptr;
constexpr const char* ControlKey = "Software\\Orvane\\SampleControl";

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) self = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, MAX_PATH);
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, ControlKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return E_FAIL;
    const LONG result =
        RegSetValueExA(key, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path), static_cast<DWORD>(strlen(path) + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? S_OK : E_FAIL;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, ControlKey);
    return S_OK;
}
