#include "support/Fixtures.h"

#include "text/Unicode.h"

#include <windows.h>

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool CopyFixture(const std::string& source, const std::string& destination)
{
    return CopyFileW(WideFromShiftJis(source).c_str(), WideFromShiftJis(destination).c_str(), FALSE) != FALSE;
}

namespace {
constexpr char TraceKey[] = "Software\\OrvaneSetupTests\\SelfRegistration";
}

std::string RegistrationTrace(const std::string& componentPath)
{
    char value[64] = {};
    DWORD size = sizeof value - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, TraceKey, componentPath.c_str(), RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return {};
    return value;
}

void ClearRegistrationTraces()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, TraceKey);
}
