// The one message-box routine: the whole program is modal to the box, and
// exactly the windows it disabled get their input and activation back.
#include <doctest/doctest.h>

#include "services/Win32Files.h"
#include "support/Scratch.h"
#include "support/Scripted.h"
#include "support/Utf8.h"
#include "windows/MessageBox.h"
#include "windows/UserDialogs.h"

#include <windows.h>

#include <stdexcept>
#include <string>

namespace {

// A top-level window of the program with one button, as the main and the
// progress windows are.
class TestWindow {
public:
    TestWindow(const char* caption, bool visible)
    {
        static const ATOM windowClass = [] {
            WNDCLASSA description{};
            description.lpfnWndProc = DefWindowProcA;
            description.hInstance = GetModuleHandleA(nullptr);
            description.lpszClassName = "OrvTestWindow";
            return RegisterClassA(&description);
        }();
        (void)windowClass;
        window_ = CreateWindowA("OrvTestWindow", caption, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 10, 10,
                                300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        button_ = CreateWindowA("BUTTON", "OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 80, 24, window_,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~TestWindow() { DestroyWindow(window_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return window_; }
    HWND Button() const { return button_; }

private:
    HWND window_ = nullptr;
    HWND button_ = nullptr;
};

// The system's own dialogs for the lifetime of the object.
class SystemDialogsInUse {
public:
    SystemDialogsInUse() : previous_(InstallUserDialogs(nullptr)) {}
    ~SystemDialogsInUse() { InstallUserDialogs(previous_); }

private:
    UserDialogs* previous_;
};

class ApplicationWindowInUse {
public:
    explicit ApplicationWindowInUse(HWND window) : previous_(ApplicationWindow()) { SetApplicationWindow(window); }
    ~ApplicationWindowInUse() { SetApplicationWindow(previous_); }

private:
    HWND previous_;
};

// What a person sees of a real box and presses on it: found by the thread's
// timer, which the box's own message loop runs.
struct SystemBoxPress {
    int button = 0;
    int ticks = 0;
    HWND box = nullptr;
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    bool programEnabled = true;
    HWND programWindow = nullptr;
};
SystemBoxPress* pendingPress = nullptr;

void CALLBACK PressSystemBox(HWND, UINT, UINT_PTR, DWORD)
{
    SystemBoxPress& press = *pendingPress;
    if (press.box != nullptr || ++press.ticks > 400) return;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            char className[16] = {};
            GetClassNameA(window, className, sizeof className);
            if (std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
            pendingPress->box = window;
            return FALSE;
        },
        0);
    if (press.box == nullptr) return;
    char text[256] = {};
    GetWindowTextA(press.box, text, sizeof text);
    press.caption = text;
    GetDlgItemTextA(press.box, 0xFFFF, text, sizeof text);  // the box's message label
    press.text = text;
    press.owner = GetWindow(press.box, GW_OWNER);
    press.programEnabled = IsWindowEnabled(press.programWindow) != FALSE;
    PostMessageA(press.box, WM_COMMAND, MAKEWPARAM(press.button, BN_CLICKED), 0);
}

int ShowAndPress(SystemBoxPress& press, const std::string& text, const std::string& caption, uint16_t flags)
{
    pendingPress = &press;
    const UINT_PTR timer = SetTimer(nullptr, 0, 25, PressSystemBox);
    const int answer = ShowMessageBox(text, caption, flags);
    KillTimer(nullptr, timer);
    pendingPress = nullptr;
    return answer;
}

}  // namespace

TEST_CASE("a box leaves the program's windows enabled and active again, and only those it disabled")
{
    TestWindow progress("progress", true);
    TestWindow hiddenMain("main", false);
    TestWindow alreadyOff("off", true);
    EnableWindow(alreadyOff.Handle(), FALSE);
    SetActiveWindow(progress.Handle());
    SetFocus(progress.Button());
    REQUIRE(GetActiveWindow() == progress.Handle());

    bool progressEnabledDuring = true;
    bool mainEnabledDuring = true;
    ScriptedDialogs person;
    person.Answer(IDNO).WhileShown([&](const AskedBox&) {
        progressEnabledDuring = IsWindowEnabled(progress.Handle()) != FALSE;
        mainEnabledDuring = IsWindowEnabled(hiddenMain.Handle()) != FALSE;
        // A box takes the activation away, as the real one does.
        TestWindow box("box", true);
        SetActiveWindow(box.Handle());
    });
    CHECK(ShowMessageBox("x", "y", MB_YESNO | MB_ICONQUESTION) == IDNO);

    CHECK_FALSE(progressEnabledDuring);
    CHECK_FALSE(mainEnabledDuring);
    CHECK(IsWindowEnabled(progress.Handle()));
    CHECK(IsWindowEnabled(hiddenMain.Handle()));
    CHECK_FALSE(IsWindowEnabled(alreadyOff.Handle()));
    CHECK(GetActiveWindow() == progress.Handle());
    CHECK(GetFocus() == progress.Button());
}

TEST_CASE("a responder that fails still gives the program its windows back")
{
    TestWindow progress("progress", true);
    SetActiveWindow(progress.Handle());
    ScriptedDialogs person;
    person.WhileShown([](const AskedBox&) { throw std::runtime_error("box failed"); });
    CHECK_THROWS(ShowMessageBox("x", "y", MB_OK));
    CHECK(IsWindowEnabled(progress.Handle()));
    CHECK(GetActiveWindow() == progress.Handle());
}

TEST_CASE("the system's box is owned by the application window and answers Yes and No")
{
    TestWindow application("application", false);
    TestWindow progress("progress", true);
    ApplicationWindowInUse owner(application.Handle());
    SystemDialogsInUse system;
    SetActiveWindow(progress.Handle());

    SystemBoxPress yes;
    yes.button = IDYES;
    yes.programWindow = progress.Handle();
    CHECK(ShowAndPress(yes, "表示しますか？", "確認", 36) == IDYES);
    CHECK(yes.caption == "確認");
    CHECK(yes.text == "表示しますか？");
    CHECK(yes.owner == application.Handle());
    CHECK_FALSE(yes.programEnabled);
    CHECK(IsWindowEnabled(progress.Handle()));
    CHECK(IsWindowEnabled(application.Handle()));
    CHECK(GetActiveWindow() == progress.Handle());

    SystemBoxPress no;
    no.button = IDNO;
    no.programWindow = progress.Handle();
    CHECK(ShowAndPress(no, "ソ", "能", 52) == IDNO);
    CHECK(no.box != nullptr);
    CHECK(GetActiveWindow() == progress.Handle());
}

// Run only by the next case, in a child process: each shows a box that no one
// expects, once with a scripted responder and once with the test main's own.
TEST_CASE("probe: unexpected box with a scripted responder" * doctest::skip())
{
    ScriptedDialogs dialogs;
    CHECK(ShowMessageBox("PROBE-SCRIPTED 表示", "c", MB_YESNO) == IDNO);
}

TEST_CASE("probe: unexpected box without a responder of the test" * doctest::skip())
{
    CHECK(ShowMessageBox("PROBE-DEFAULT", "c", MB_OKCANCEL) == IDCANCEL);
}

TEST_CASE("an unexpected box fails the test with its text instead of waiting")
{
    ScratchFolder folder("probe");
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string output = folder / "output.txt";
    SECURITY_ATTRIBUTES inheritable{sizeof inheritable, nullptr, TRUE};
    FileHandle file(CreateFileA(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable, CREATE_ALWAYS, 0,
                                nullptr));
    REQUIRE(file);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file.Get();
    startup.hStdError = file.Get();
    std::string command = std::string("\"") + self + "\" --no-skip -tc=\"probe: *\" --no-colors";
    PROCESS_INFORMATION child{};
    const BOOL started =
        CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child);
    file.Reset();
    REQUIRE(started);
    const KernelHandle thread(child.hThread);
    const KernelHandle process(child.hProcess);
    const DWORD waited = WaitForSingleObject(process.Get(), 60000);
    if (waited != WAIT_OBJECT_0) TerminateProcess(process.Get(), 99);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.Get(), &exitCode);

    REQUIRE(waited == WAIT_OBJECT_0);
    CHECK(exitCode != 0);
    const std::string report = ReadTextFile(output);
    CHECK(report.find("unexpected message box") != std::string::npos);
    CHECK(report.find("PROBE-SCRIPTED " + Utf8("表示")) != std::string::npos);
    CHECK(report.find("PROBE-DEFAULT") != std::string::npos);
    CHECK(report.find("2 failed") != std::string::npos);
}
