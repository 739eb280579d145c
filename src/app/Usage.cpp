#include "app/Usage.h"

#include "app/CommandLine.h"
#include "text/Unicode.h"
#include "windows/MessageBox.h"

#include <windows.h>

namespace {

// A console shows the text as UTF-16, whatever its code page; a file or a
// pipe gets UTF-8. False when there is neither.
bool WriteToStandardOutput(const std::string& text)
{
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if (output == nullptr || output == INVALID_HANDLE_VALUE) {
        // A program without a console of its own reaches its caller's
        // console by attaching to it.
        if (!AttachConsole(ATTACH_PARENT_PROCESS)) return false;
        output = GetStdHandle(STD_OUTPUT_HANDLE);
        if (output == nullptr || output == INVALID_HANDLE_VALUE) return false;
    }
    DWORD mode = 0;
    DWORD written = 0;
    if (GetConsoleMode(output, &mode)) {
        const std::wstring wide = WideFromShiftJis(text);
        return WriteConsoleW(output, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr) != FALSE;
    }
    const std::string utf8 = Utf8FromShiftJis(text);
    return WriteFile(output, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) != FALSE;
}

}  // namespace

void ShowUsage(UsageOutput output)
{
    const std::string text = UsageText();
    if (output == UsageOutput::ConsoleOrBox && WriteToStandardOutput(text)) return;
    ShowMessageBox(text, "Orvane Setup", MB_OK | MB_ICONINFORMATION);
}
