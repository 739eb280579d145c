#include "app/SystemFolders.h"

#include "script/PathParts.h"
#include "script/TextParts.h"
#include "services/FileOps.h"
#include "services/ShellFolders.h"
#include "services/Win32Com.h"
#include "services/Win32Registry.h"
#include "text/Unicode.h"
#include "windows/ApplicationWindow.h"

#include <windows.h>
#include <knownfolders.h>
#include <shlobj.h>

namespace {

int32_t QueryPlatformId()
{
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    const bool known = GetVersionExW(&info) != FALSE;
#pragma GCC diagnostic pop
    return known ? static_cast<int32_t>(info.dwPlatformId) : -1;
}

// A folder that one of the system's directory queries fills into a buffer of
// 260 characters; empty when the system reports length 0, and also when the
// folder's name holds a character that Shift-JIS cannot hold (a profile
// named "Zoë"): a "?" in its place would name another folder.
template <typename Query>
std::string QueriedFolder(Query query)
{
    wchar_t buffer[MAX_PATH] = {};
    const UINT length = query(buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    const std::optional<std::string> folder = ShiftJisFromWide(std::wstring(buffer, length));
    return folder ? WithTrailingBackslash(*folder) : std::string();
}

}  // namespace

std::string SystemWindowsFolder()
{
    return QueriedFolder([](wchar_t* buffer, UINT size) { return GetWindowsDirectoryW(buffer, size); });
}

std::string SystemTemporaryFolder()
{
    return QueriedFolder([](wchar_t* buffer, UINT size) { return GetTempPathW(size, buffer); });
}

namespace {

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

// A known folder the system has, with a trailing backslash; empty when it
// has none or its name does not fit Shift-JIS.
std::string KnownFolder(REFKNOWNFOLDERID id)
{
    PWSTR path = nullptr;
    const HRESULT result = SHGetKnownFolderPath(id, 0, nullptr, &path);
    const TaskMem owned(path);
    if (FAILED(result) || path == nullptr) return {};
    const std::optional<std::string> folder = ShiftJisFromWide(path);
    return folder ? WithTrailingBackslash(*folder) : std::string();
}

std::string LocalAppDataFolder()
{
    const std::string folder = ShellFolder(CSIDL_LOCAL_APPDATA);
    return folder == "\\" ? std::string() : folder;
}

}  // namespace

std::string UserOwnFolder()
{
    const std::string local = LocalAppDataFolder();
    return local.empty() ? local : local + "Orvane\\";
}

std::string UserProgramsFolder()
{
    const std::string known = KnownFolder(FOLDERID_UserProgramFiles);
    if (!known.empty()) return known;
    const std::string local = LocalAppDataFolder();
    return local.empty() ? local : local + "Programs\\";
}

std::string MachineProgramFilesFolder()
{
    return ProgramFilesFrom(SystemWindowsFolder());
}

std::string LoadSystemFolders(RunState& run)
{
    std::string errors;
    run.platformId = QueryPlatformId();
    // A program in a folder whose name Shift-JIS cannot hold finds none of
    // its files: the run cannot go on.
    const std::optional<std::string> executable = ExecutablePath();
    run.sourceFolder = executable ? WithTrailingBackslash(FolderPart(*executable)) : std::string();
    if (!executable) errors += "【致命的エラー  →  セットアップ元フォルダ取得失敗】\r";

    run.tempFolder = SystemTemporaryFolder();
    if (run.tempFolder.empty()) run.tempFolder = run.sourceFolder;

    run.windowsFolder = SystemWindowsFolder();
    if (run.windowsFolder.empty()) errors += "【致命的エラー  →  Windowsフォルダ取得失敗】\r";
    run.systemFolder = QueriedFolder([](wchar_t* buffer, UINT size) { return GetSystemDirectoryW(buffer, size); });
    if (run.systemFolder.empty()) errors += "【致命的エラー  →  WindowsSystemフォルダ取得失敗】\r";

    run.appFolder = "(App)";
    run.programFilesFolder = ProgramFilesFrom(run.windowsFolder);
    run.machineProgramFilesFolder = run.programFilesFolder;
    run.userOwnFolder = UserOwnFolder();
    if (run.scope == InstallScope::User) {
        run.programFilesFolder = UserProgramsFolder();
        if (run.programFilesFolder.empty()) errors += "【致命的エラー  →  ユーザーのプログラムフォルダ取得失敗】\r";
        if (run.userOwnFolder.empty()) errors += "【致命的エラー  →  ユーザーのアプリケーションデータフォルダ取得失敗】\r";
    }
    run.bootRoot = LeftStr(run.windowsFolder, 2) + "\\";
    run.sourceRoot = LeftStr(run.sourceFolder, 2) + "\\";
    LoadShellFolders(run);
    return errors;
}

void LoadShellFolders(RunState& run)
{
    run.startMenuFolder = ShellFolder(CSIDL_STARTMENU);
    run.programsFolder = ShellFolder(CSIDL_PROGRAMS);
    run.desktopFolder = ShellFolder(CSIDL_DESKTOPDIRECTORY);
    run.startupFolder = ShellFolder(CSIDL_STARTUP);
    run.sendToFolder = ShellFolder(CSIDL_SENDTO);
    // A user install has no right to the folders all users share: its
    // shortcuts go where the user's own are.
    if (run.platformId == VER_PLATFORM_WIN32_NT && run.scope == InstallScope::Machine) {
        run.commonStartMenuFolder = ShellFolder(CSIDL_COMMON_STARTMENU);
        run.commonProgramsFolder = ShellFolder(CSIDL_COMMON_PROGRAMS);
        run.commonDesktopFolder = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
        run.commonStartupFolder = ShellFolder(CSIDL_COMMON_STARTUP);
    } else {
        run.commonStartMenuFolder = run.startMenuFolder;
        run.commonProgramsFolder = run.programsFolder;
        run.commonDesktopFolder = run.desktopFolder;
        run.commonStartupFolder = run.startupFolder;
    }
}
