#include "SetupLaunch.h"

#include "services/Win32Files.h"

#include <windows.h>

std::optional<unsigned long> RunSetup(const std::wstring& folder, const std::wstring& arguments,
                                      const std::function<void()>& started)
{
    const std::wstring program = folder + L"SETUP.EXE";
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info))
        return std::nullopt;
    const KernelHandle process(info.hProcess);
    const KernelHandle thread(info.hThread);
    started();
    DWORD code = 0;
    if (WaitForSingleObject(process.Get(), INFINITE) != WAIT_OBJECT_0 || !GetExitCodeProcess(process.Get(), &code))
        return std::nullopt;
    return code;
}
