#include "Driver.h"

#include "text/Unicode.h"

#include <vector>

namespace {

// The caller's environment with TMP and TEMP pointing at `tempFolder`, as
// one block of zero-terminated UTF-16 entries.
std::wstring EnvironmentWithTemp(const std::string& tempFolder)
{
    std::wstring block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry != L'\0'; entry += lstrlenW(entry) + 1) {
        const std::wstring text = entry;
        const std::wstring name = text.substr(0, text.find(L'='));
        if (lstrcmpiW(name.c_str(), L"TMP") == 0 || lstrcmpiW(name.c_str(), L"TEMP") == 0) continue;
        block += text + L'\0';
    }
    FreeEnvironmentStringsW(strings);
    const std::wstring folder = WideFromShiftJis(tempFolder);
    block += L"TMP=" + folder + L'\0';
    block += L"TEMP=" + folder + L'\0';
    block += L'\0';
    return block;
}

struct Search {
    DWORD id;
    const std::string* className;
    const std::string* caption;
    HWND found = nullptr;
};

std::string ClassOf(HWND window)
{
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return ShiftJisFromWideForDisplay(name);
}

BOOL CALLBACK VisitTopWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->id || !IsWindowVisible(window)) return TRUE;
    if (search->className != nullptr && ClassOf(window) != *search->className) return TRUE;
    if (search->caption != nullptr && TextOf(window) != *search->caption) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

SetupProcess::SetupProcess(const std::string& program, const std::string& argument, const std::string& tempFolder)
{
    std::string commandLine = "\"" + program + "\"";
    if (!argument.empty()) commandLine += " \"" + argument + "\"";
    Start(commandLine, tempFolder);
}

SetupProcess::SetupProcess(const ExactCommandLine& commandLine, const std::string& tempFolder)
{
    Start(commandLine.text, tempFolder);
}

void SetupProcess::Start(std::string commandLine, const std::string& tempFolder)
{
    std::wstring environment = EnvironmentWithTemp(tempFolder);
    std::wstring wideCommandLine = WideFromShiftJis(commandLine);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, wideCommandLine.data(), nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                       environment.data(), nullptr, &startup, &info)) {
        const KernelHandle thread(info.hThread);
        process_.Reset(info.hProcess);
        id_ = info.dwProcessId;
    }
}

SetupProcess::~SetupProcess()
{
    Kill();
}

void SetupProcess::Kill()
{
    if (Running()) {
        TerminateProcess(process_.Get(), 1);
        WaitForSingleObject(process_.Get(), SettleTimeout);
    }
}

bool SetupProcess::Running() const
{
    return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

bool SetupProcess::WaitForExit(DWORD timeout)
{
    return process_ && WaitForSingleObject(process_.Get(), timeout) == WAIT_OBJECT_0;
}

DWORD SetupProcess::ExitCode() const
{
    DWORD code = STILL_ACTIVE;
    if (process_) GetExitCodeProcess(process_.Get(), &code);
    return code;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout)
{
    const ULONGLONG deadline = GetTickCount64() + timeout;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        // Polling, not pausing: the condition is looked at again shortly.
        Sleep(20);
    }
}

HWND FindWindowOf(DWORD id, const std::string& className, const std::string* caption)
{
    Search search{id, &className, caption};
    EnumWindows(&VisitTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool HasVisibleWindow(DWORD id)
{
    Search search{id, nullptr, nullptr};
    EnumWindows(&VisitTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr;
}

HWND ControlOf(HWND form, int id)
{
    for (HWND child = GetWindow(form, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(child) == id) return child;
        if (HWND inner = ControlOf(child, id)) return inner;
    }
    return nullptr;
}

std::string TextOf(HWND window)
{
    // Read as UTF-16 and made Shift-JIS with code page 932 itself: the ANSI
    // message would hand over the system code page's bytes, which on a
    // Western or UTF-8 system are no Shift-JIS.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length)) return {};
    std::vector<wchar_t> buffer(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                             SMTO_ABORTIFHUNG, 5000, &copied))
        return {};
    return ShiftJisFromWideForDisplay(buffer.data());
}

bool IsShown(HWND window)
{
    return window != nullptr && IsWindowVisible(window);
}

bool IsChecked(HWND checkBox)
{
    DWORD_PTR state = 0;
    SendMessageTimeoutW(checkBox, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 5000, &state);
    return state == BST_CHECKED;
}

void PaintNow(HWND window)
{
    // The paint messages are sent to the owning thread and answered once
    // painted. Two round trips more: the thread hands its painting to the
    // display whenever it goes back to waiting for messages.
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    for (int round = 0; round < 2; ++round) {
        DWORD_PTR ignored = 0;
        SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored);
    }
}

void Press(HWND button)
{
    PostMessageW(button, BM_CLICK, 0, 0);
}

HWND WaitForMessageBox(DWORD id, const std::string& caption, DWORD timeout)
{
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowOf(id, "#32770", &caption)) != nullptr; }, timeout);
    return box;
}

std::string MessageBoxText(HWND box)
{
    // The message of a system message box is its static control 0xFFFF.
    return TextOf(GetDlgItem(box, 0xFFFF));
}

void Answer(HWND box, int button)
{
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}


std::string Quoted(const std::string& text)
{
    return "\"" + text + "\"";
}
