#include "app/LogOpening.h"

#include "app/SystemFolders.h"
#include "script/PathParts.h"
#include "services/FileOps.h"
#include "services/LocalDate.h"
#include "services/Win32Files.h"
#include "text/Unicode.h"
#include "windows/ApplicationWindow.h"
#include "windows/VersionInfo.h"

#include <windows.h>

#include <cstdio>
#include <string_view>

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

// "2026-12-07 17:28:53.107 Orvane Setup ": how every log of this program
// starts (the time stamp, then the header's first line).
bool StartsAsRunLog(const std::string& bytes)
{
    constexpr std::string_view shape = "dddd-dd-dd dd:dd:dd.ddd Orvane Setup ";
    if (bytes.size() < shape.size()) return false;
    for (size_t at = 0; at < shape.size(); ++at) {
        const bool digit = bytes[at] >= '0' && bytes[at] <= '9';
        if (shape[at] == 'd' ? !digit : bytes[at] != shape[at]) return false;
    }
    return true;
}

// A log goes only where it cannot spoil anything: a new file, an empty one,
// or an earlier log of this program. A file that cannot be read is none.
bool MayAppendTo(const std::string& path)
{
    // Nothing there yet, or a folder (which no log can open: the failure
    // report says so).
    const DWORD attributes = AttributesOf(path);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return true;
    const FileHandle file = OpenFileHandle(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
    if (!file) return false;
    char start[64] = {};
    DWORD read = 0;
    if (!ReadFile(file.Get(), start, sizeof start, &read, nullptr)) return false;
    return read == 0 || StartsAsRunLog(std::string(start, read));
}

// "<name> #NNN<extension>" beside `path`, with the first number from 001
// that no file uses yet.
std::string NumberedBeside(const std::string& path)
{
    const std::string extension = ExtensionPart(path);
    const std::string stem = path.substr(0, path.size() - extension.size());
    std::string candidate;
    for (int n = 1; n <= 999; ++n) {
        char number[8];
        std::snprintf(number, sizeof number, "%03d", n);
        candidate = stem + " #" + number + extension;
        if (AttributesOf(candidate) == INVALID_FILE_ATTRIBUTES) break;
    }
    return candidate;
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
    // A device or a stream is no place for a log (the run ends with 87, and
    // says so in a fresh one).
    const bool named = !options.logFile.empty() && options.logFault.empty();
    std::string path = named ? options.logFile : FreshLogPath(LogFolder(), LocalDate("-"));
    // Any other file (win.ini, hosts, a document) is never appended to.
    const std::string passedOver = named && !MayAppendTo(path) ? path : std::string();
    if (!passedOver.empty()) path = NumberedBeside(passedOver);
    const unsigned long error = state.log.Open(path);
    if (error != 0) {
        state.unopenedLog = path;
        state.unopenedLogError = error;
        return;
    }
    WriteHeader(state.log, commandLine);
    if (!passedOver.empty())
        state.log.Line("The log is written here: " + passedOver + " is no log of this program and was left as it was");
}
