// The windowed side of the unattended-install benchmark: SETUP.EXE run as
// a person runs it, its windows driven from outside as the e2e tests drive
// them. /DIR= names the setup folder; the start button is pressed, the
// folder question answered Yes and the completion box OK as soon as each
// shows.
//
//     windowed_run.exe <SETUP.EXE> <setup folder> [switch ...]
//
// Further switches (/LOG, say) are handed to SETUP.EXE after /DIR=.
// Prints the seconds from the start of the process to its end. Exit 0 when
// the install completed, 1 otherwise.
#include "driver/Driver.h"
#include "windows/ControlIds.h"

#include <cstdio>
#include <string>

namespace {

// A visible top-level window of the process, of the class, with the
// caption when one is given. The class is matched by the window server in
// one request (FindWindowEx), not window by window as the tests' driver
// does: polled every 20 ms through the whole copy, that search made as many
// Wine server requests as the install's worker and slowed the install it
// measured.
HWND TopWindowOf(DWORD id, const char* className, const std::string* caption = nullptr)
{
    for (HWND window = FindWindowExA(nullptr, nullptr, className, nullptr); window != nullptr;
         window = FindWindowExA(nullptr, window, className, nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != id || !IsWindowVisible(window)) continue;
        if (caption == nullptr || TextOf(window) == *caption) return window;
    }
    return nullptr;
}

HWND WaitForBox(const SetupProcess& setup, const std::string& caption, DWORD timeout)
{
    HWND box = nullptr;
    WaitUntil([&] { return (box = TopWindowOf(setup.Id(), "#32770", &caption)) != nullptr; }, timeout);
    return box;
}

// The main window once its action button reads `caption`.
HWND MainScreen(const SetupProcess& setup, const std::string& caption)
{
    HWND main = nullptr;
    WaitUntil(
        [&] {
            main = TopWindowOf(setup.Id(), WindowClassNames::MainWindow);
            return main != nullptr && TextOf(ControlOf(main, MainIds::actionButton)) == caption &&
                   IsWindowEnabled(ControlOf(main, MainIds::actionButton));
        },
        60000);
    return main;
}

int Fail(const char* what)
{
    std::fprintf(stderr, "windowed_run: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) return Fail("usage: windowed_run.exe <SETUP.EXE> <setup folder> [switch ...]");
    const std::string folder = argv[2];
    std::string switches;
    for (int i = 3; i < argc; ++i) switches += std::string(" ") + argv[i];
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    LARGE_INTEGER frequency, started, ended;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&started);
    SetupProcess setup(ExactCommandLine{Quoted(argv[1]) + " /DIR=" + Quoted(folder) + switches}, temp);
    if (!setup.Started()) return Fail("SETUP.EXE did not start");
    HWND main = MainScreen(setup, "セットアップ開始(&S)");
    if (main == nullptr) return Fail("no settings screen");
    Press(ControlOf(main, MainIds::actionButton));
    HWND question = WaitForBox(setup, "フォルダ作成", 60000);
    if (question == nullptr) return Fail("no folder question");
    Answer(question, IDYES);
    HWND done = WaitForBox(setup, "完了", 600000);
    if (done == nullptr) return Fail("no completion box");
    Answer(done, IDOK);
    if (!setup.WaitForExit(60000)) return Fail("SETUP.EXE did not end");
    QueryPerformanceCounter(&ended);
    if (setup.ExitCode() != 0) return Fail("the install did not complete");
    std::printf("%.3f\n", static_cast<double>(ended.QuadPart - started.QuadPart) / static_cast<double>(frequency.QuadPart));
    return 0;
}
