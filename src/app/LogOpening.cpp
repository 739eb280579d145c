#include "app/LogOpening.h"

#include "app/SystemFolders.h"
#include "services/FileOps.h"
#include "services/LocalDate.h"
#include "services/Win32Files.h"
#include "text/Unicode.h"
#include "windows/ApplicationWindow.h"
#include "windows/VersionInfo.h"

#include <windows.h>

#include <cstdio>

namespace {

// The temporary folder, or the root of the system drive when the system
// cannot tell.
std::string LogFolder()
{
    const std::string folder = SystemTemporaryFolder();
    return folder.empty() ? "C:\\" : folder;
}

// The version the system itself reports: GetVersionEx answers what the
// program's manifest allows it to know.
std::string WindowsVersion()
{
    using RtlGetVersionProc = LONG(WINAPI*)(OSVERSIONINFOW*);
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    const auto getVersion = ntdll == nullptr ? nullptr
                                             : reinterpret_cast<RtlGetVersionProc>(reinterpret_cast<void*>(
                                                   GetProcAddress(ntdll, "RtlGetVersion")));
    if (getVersion == nullptr || getVersion(&info) != 0) return "unknown";
    return std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion) + "." +
           std::to_string(info.dwBuildNumber);
}

std::string Elevation()
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return "unknown";
    const KernelHandle owned(token);
    TOKEN_ELEVATION elevation{};
    DWORD size = 0;
    if (!GetTokenInformation(owned.Get(), TokenElevation, &elevation, sizeof elevation, &size)) return "unknown";
    return elevation.TokenIsElevated != 0 ? "yes" : "no";
}

std::string ProgramVersion()
{
    VersionNumbers numbers;
    if (!ReadVersionNumbers(ExecutableWidePath(), numbers)) return "unknown";
    return std::to_string(numbers.major) + "." + std::to_string(numbers.minor) + "." +
           std::to_string(numbers.release) + "." + std::to_string(numbers.build);
}

void WriteHeader(RunLog& log, const std::string& commandLine)
{
    log.Line("Orvane Setup " + ProgramVersion() + " (" + ShiftJisFromWideForDisplay(ExecutableWidePath()) + ")");
    log.Line("Command line: " + commandLine);
    log.Line("Windows " + WindowsVersion() + ", code page " + std::to_string(GetACP()) + ", elevated: " +
             Elevation());
    log.Line("Log: " + log.Path());
}

}  // namespace

std::string FreshLogPath(const std::string& folder, const std::string& date)
{
    std::string path;
    for (int n = 1; n <= 999; ++n) {
        char number[8];
        std::snprintf(number, sizeof number, "%03d", n);
        path = folder + "Orvane Setup Log " + date + " #" + number + ".txt";
        if (!FileExists(path)) break;
    }
    return path;
}

void OpenRunLog(RunState& state, const RunOptions& options, const std::string& commandLine)
{
    if (!options.log) return;
    const std::string path = options.logFile.empty() ? FreshLogPath(LogFolder(), LocalDate("-")) : options.logFile;
    const unsigned long error = state.log.Open(path);
    if (error != 0) {
        state.unopenedLog = path;
        state.unopenedLogError = error;
        return;
    }
    WriteHeader(state.log, commandLine);
}
