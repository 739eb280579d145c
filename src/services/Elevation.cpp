#include "services/Elevation.h"

#include "services/Win32Files.h"

#include <windows.h>
#include <shellapi.h>

bool ProcessIsElevated()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return true;
    const KernelHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size)) return true;
    return elevation.TokenIsElevated != 0;
}

ElevatedRun RunElevated(const std::wstring& program, const std::wstring& parameters)
{
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC;
    info.lpVerb = L"runas";
    info.lpFile = program.c_str();
    info.lpParameters = parameters.empty() ? nullptr : parameters.c_str();
    info.nShow = SW_SHOWNORMAL;
    ElevatedRun run;
    if (!ShellExecuteExW(&info)) {
        run.error = GetLastError();
        return run;
    }
    run.started = true;
    const KernelHandle process(info.hProcess);
    if (!process) return run;
    WaitForSingleObject(process.Get(), INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.Get(), &code);
    run.exitCode = code;
    return run;
}

std::wstring ElevatedParameters(const std::wstring& commandLine, const std::wstring& extraSwitch,
                                const std::wstring& logPath)
{
    std::wstring parameters = ParametersOf(commandLine);
    const auto add = [&](const std::wstring& argument) { parameters += (parameters.empty() ? L"" : L" ") + argument; };
    if (!extraSwitch.empty()) add(extraSwitch);
    // A later /LOG= takes the place of an earlier one; no file name holds a
    // double quote.
    if (!logPath.empty()) add(L"/LOG=\"" + logPath + L"\"");
    return parameters;
}

std::wstring ParametersOf(const std::wstring& commandLine)
{
    size_t at = 0;
    bool quoted = false;
    // The program's name ends at the first blank outside quotes.
    for (; at < commandLine.size(); ++at) {
        const wchar_t character = commandLine[at];
        if (character == L'"') quoted = !quoted;
        else if (!quoted && (character == L' ' || character == L'\t')) break;
    }
    while (at < commandLine.size() && (commandLine[at] == L' ' || commandLine[at] == L'\t')) ++at;
    return commandLine.substr(at);
}
