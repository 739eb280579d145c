#include "support/FolderLinks.h"

#include "script/PathParts.h"
#include "services/Win32Files.h"
#include "text/Unicode.h"

#include <windows.h>

#include <optional>

namespace {

// The host's path of a Windows path, through Wine's own export.
std::optional<std::wstring> UnixPath(const std::string& path)
{
    using UnixFileName = char*(CDECL*)(const wchar_t*);
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    const auto unixName = kernel == nullptr ? nullptr
                                            : reinterpret_cast<UnixFileName>(reinterpret_cast<void*>(
                                                  GetProcAddress(kernel, "wine_get_unix_file_name")));
    if (unixName == nullptr) return std::nullopt;
    char* name = unixName(WideFromShiftJis(WithoutTrailingBackslash(path)).c_str());
    if (name == nullptr) return std::nullopt;
    const int length = MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length - 1 : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name, -1, wide.data(), length);
    HeapFree(GetProcessHeap(), 0, name);
    return wide;
}

// Starts a host program: Wine starts an ELF file as the Unix program it
// is, but hands back no handle to wait on, so the caller waits for what the
// program does instead.
bool StartHostProgram(const wchar_t* program, const std::wstring& arguments)
{
    std::wstring line = std::wstring(L"\"") + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Named apart from the line: searched for through the line, a name
    // without an extension would be taken for one ending in ".exe".
    if (!CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    for (HANDLE handle : {process.hProcess, process.hThread})
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    return true;
}

// Waits up to ten seconds for `done`.
template <typename Condition>
bool WaitUntil(Condition done)
{
    for (int tries = 0; tries < 1000; ++tries) {
        if (done()) return true;
        Sleep(10);
    }
    return done();
}

std::wstring Quoted(const std::wstring& text)
{
    return L"\"" + text + L"\"";
}

}  // namespace

bool MakeFolderLink(const std::string& link, const std::string& target)
{
    const std::optional<std::wstring> from = UnixPath(link);
    const std::optional<std::wstring> to = UnixPath(target);
    if (!from || !to) return false;
    return StartHostProgram(L"Z:\\bin\\ln", L"-s " + Quoted(*to) + L" " + Quoted(*from)) &&
           WaitUntil([&] { return IsLink(link); });
}

bool RemoveFolderLink(const std::string& link)
{
    const std::optional<std::wstring> path = UnixPath(link);
    // rm without -r removes a symbolic link itself and refuses a folder.
    return path && StartHostProgram(L"Z:\\bin\\rm", L"-f " + Quoted(*path)) &&
           WaitUntil([&] { return AttributesOf(WithoutTrailingBackslash(link)) == INVALID_FILE_ATTRIBUTES; });
}

bool RemoveHostTree(const std::string& folder)
{
    const std::optional<std::wstring> path = UnixPath(folder);
    return path && StartHostProgram(L"Z:\\bin\\rm", L"-rf " + Quoted(*path)) &&
           WaitUntil([&] { return AttributesOf(WithoutTrailingBackslash(folder)) == INVALID_FILE_ATTRIBUTES; });
}
