#include "app/SystemFolders.h"

#include "services/FileOps.h"
#include "services/LocationTokens.h"
#include "services/Win32Registry.h"
#include "text/PathParts.h"
#include "text/StrOp.h"
#include "windows/ApplicationWindow.h"

#include <windows.h>
#include <shlobj.h>

namespace {

int32_t QueryPlatformId()
{
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool known = GetVersionExA(&info) != FALSE;
#pragma GCC diagnostic pop
    return known ? static_cast<int32_t>(info.dwPlatformId) : -1;
}

// A folder that one of the system's directory queries fills into a buffer of
// 260 bytes; empty when the system reports length 0.
template <typename Query>
std::string QueriedFolder(Query query)
{
    char buffer[MAX_PATH] = {};
    const UINT length = query(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return WithTrailingBackslash(std::string(buffer, length));
}

std::string ProgramFilesFrom(const std::string& windowsFolder)
{
    RegKey key = CreateRegKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion");
    const std::string value = key ? ReadRegString(key.Get(), "ProgramFilesDir") : std::string();
    const std::string folder = WithTrailingBackslash(value);
    if (folder == "\\" || !FolderExists(folder)) return LeftStr(windowsFolder, 2) + "\\Program Files\\";
    return folder;
}

std::string ShellFolder(int csidl)
{
    return WithTrailingBackslash(GetSpecialFolder(csidl));
}

}  // namespace

std::string LoadSystemFolders(RunState& run)
{
    std::string errors;
    run.PlatformId = QueryPlatformId();
    run.SourceFolder = WithTrailingBackslash(FolderPart(ExecutablePath()));

    run.TempFolder = QueriedFolder([](char* buffer, UINT size) { return GetTempPathA(size, buffer); });
    if (run.TempFolder.empty()) run.TempFolder = run.SourceFolder;

    run.WindowsFolder = QueriedFolder([](char* buffer, UINT size) { return GetWindowsDirectoryA(buffer, size); });
    if (run.WindowsFolder.empty()) errors += "【致命的エラー  →  Windowsフォルダ取得失敗】\r";
    run.SystemFolder = QueriedFolder([](char* buffer, UINT size) { return GetSystemDirectoryA(buffer, size); });
    if (run.SystemFolder.empty()) errors += "【致命的エラー  →  WindowsSystemフォルダ取得失敗】\r";

    run.AppFolder = "(App)";
    run.ProgramFilesFolder = ProgramFilesFrom(run.WindowsFolder);
    run.BootRoot = LeftStr(run.WindowsFolder, 2) + "\\";
    run.SourceRoot = LeftStr(run.SourceFolder, 2) + "\\";
    LoadShellFolders(run);
    return errors;
}

void LoadShellFolders(RunState& run)
{
    run.StartMenuFolder = ShellFolder(CSIDL_STARTMENU);
    run.ProgramsFolder = ShellFolder(CSIDL_PROGRAMS);
    run.DesktopFolder = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    run.StartupFolder = ShellFolder(CSIDL_STARTUP);
    run.SendToFolder = ShellFolder(CSIDL_SENDTO);
    if (run.PlatformId == VER_PLATFORM_WIN32_NT) {
        run.CommonStartMenuFolder = ShellFolder(CSIDL_COMMON_STARTMENU);
        run.CommonProgramsFolder = ShellFolder(CSIDL_COMMON_PROGRAMS);
        run.CommonDesktopFolder = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
        run.CommonStartupFolder = ShellFolder(CSIDL_COMMON_STARTUP);
    } else {
        run.CommonStartMenuFolder = run.StartMenuFolder;
        run.CommonProgramsFolder = run.ProgramsFolder;
        run.CommonDesktopFolder = run.DesktopFolder;
        run.CommonStartupFolder = run.StartupFolder;
    }
}
