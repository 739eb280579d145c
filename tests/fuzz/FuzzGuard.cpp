#include "FuzzGuard.h"

#include "services/Win32Files.h"

#include <windows.h>

#include <atomic>
#include <csignal>
#include <cstdio>
#include <exception>

namespace {

std::string findingsFolder;
uint64_t runSeed = 0;
unsigned long limit = 5000;
// The input now running, for the handlers: set before it runs, read by the
// watchdog thread and by a handler on the faulting thread. Its bytes are in
// the file "current-<kind>", written before it runs: a copy, since the input
// itself may be gone with a thread that died.
std::atomic<bool> running{false};
std::atomic<InputKind> currentKind{InputKind::Script};
std::atomic<uint64_t> currentIndex{0};
std::atomic<unsigned long long> startedAt{0};
std::atomic<bool> ending{false};
// The thread that runs the inputs, for the backtrace of a time-out.
KernelHandle inputThread;

std::string FindingName(const char* what, InputKind kind, uint64_t index)
{
    return findingsFolder + what + "-" + KindName(kind) + "-s" + std::to_string(runSeed) + "-i" +
           std::to_string(index) + "." + KindExtension(kind);
}

std::string CurrentCopy(InputKind kind)
{
    return findingsFolder + "current-" + KindName(kind);
}

// Writes without the C library's buffers, which a crash may have left
// locked.
void WriteOut(const std::string& text)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

bool WriteBytes(const std::string& path, const std::string& bytes)
{
    const FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                      nullptr));
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

// The visible windows of this process, which a run that waits may be
// showing: a box no stand-in answered.
BOOL CALLBACK NoteWindow(HWND window, LPARAM lines)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
    wchar_t caption[256] = {}, className[64] = {};
    GetWindowTextW(window, caption, 256);
    GetClassNameW(window, className, 64);
    char text[600] = {};
    WideCharToMultiByte(CP_UTF8, 0, caption, -1, text, sizeof text - 1, nullptr, nullptr);
    char kind[100] = {};
    WideCharToMultiByte(CP_UTF8, 0, className, -1, kind, sizeof kind - 1, nullptr, nullptr);
    *reinterpret_cast<std::string*>(lines) += std::string("  window open: class ") + kind + ", caption \"" + text + "\"\n";
    return TRUE;
}

// Saves the running input, reports it and ends the process.
[[noreturn]] void EndWithFinding(const char* what, const std::string& detail, int code)
{
    if (ending.exchange(true)) {
        // A second fault while the first is reported: let that one finish.
        Sleep(INFINITE);
    }
    std::string line = std::string("FUZZ ") + what;
    if (running.load()) {
        const InputKind kind = currentKind.load();
        const uint64_t index = currentIndex.load();
        const std::string path = FindingName(what, kind, index);
        CopyFileA(CurrentCopy(kind).c_str(), path.c_str(), FALSE);
        line += std::string(": ") + KindName(kind) + " seed " + std::to_string(runSeed) + " index " +
                std::to_string(index) + ", saved as " + path;
    }
    WriteOut(line + "\n" + detail);
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(code));
    for (;;) Sleep(INFINITE);
}

std::string Frame(DWORD64 address)
{
    HMODULE module = nullptr;
    char name[MAX_PATH] = "?";
    if (GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<const char*>(address), &module))
        GetModuleFileNameA(module, name, MAX_PATH);
    char line[MAX_PATH + 64] = {};
    std::snprintf(line, sizeof line, "    %s+0x%llx\n", name,
                  static_cast<unsigned long long>(address - reinterpret_cast<DWORD64>(module)));
    return line;
}

// Where the input thread is, stopped: its calls as module and offset.
std::string InputThreadBacktrace()
{
    if (!inputThread || SuspendThread(inputThread.Get()) == static_cast<DWORD>(-1)) return {};
    CONTEXT context{};
    context.ContextFlags = CONTEXT_FULL;
    std::string text = "  the input's thread was at:\n";
    if (GetThreadContext(inputThread.Get(), &context)) {
        for (int depth = 0; depth < 40 && context.Rip != 0; ++depth) {
            text += Frame(context.Rip);
            DWORD64 base = 0;
            RUNTIME_FUNCTION* function = RtlLookupFunctionEntry(context.Rip, &base, nullptr);
            if (!function) {
                // A leaf function: the return address is on top of the stack.
                context.Rip = *reinterpret_cast<DWORD64*>(context.Rsp);
                context.Rsp += 8;
                continue;
            }
            void* handlerData = nullptr;
            DWORD64 frame = 0;
            RtlVirtualUnwind(UNW_FLAG_NHANDLER, base, context.Rip, function, &context, &handlerData, &frame, nullptr);
        }
    }
    return text;
}

DWORD WINAPI Watchdog(void*)
{
    for (;;) {
        Sleep(100);
        const unsigned long long started = startedAt.load();
        // A thread that ends without an exception the handlers see (its
        // stack overrun, say) is a crash, however long it took.
        if (started != 0 && inputThread && WaitForSingleObject(inputThread.Get(), 0) == WAIT_OBJECT_0)
            EndWithFinding("crash", "  the input's thread ended in the middle of the input\n", FuzzExit::Crash);
        if (started == 0 || GetTickCount64() - started <= limit) continue;
        std::string windows;
        EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(&windows));
        EndWithFinding("timeout", "  over " + std::to_string(limit) + " ms\n" + windows + InputThreadBacktrace(),
                       FuzzExit::TimeOut);
    }
}

// The calls that led to the fault, as module and offset, for addr2line.
std::string Backtrace(void* faultAt)
{
    void* frames[48] = {};
    const USHORT count = RtlCaptureStackBackTrace(0, 48, frames, nullptr);
    std::string text;
    bool reached = false;
    for (USHORT n = 0; n < count; ++n) {
        // The frames of the handler and the dispatcher come first.
        if (frames[n] == faultAt) reached = true;
        if (!reached) continue;
        text += Frame(reinterpret_cast<DWORD64>(frames[n]));
    }
    return reached ? text : "    (no backtrace through the fault)\n";
}

LONG WINAPI LastChance(EXCEPTION_POINTERS* exception)
{
    char detail[160] = {};
    std::snprintf(detail, sizeof detail, "  exception 0x%08lX at %p\n",
                  static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode),
                  exception->ExceptionRecord->ExceptionAddress);
    EndWithFinding("crash", detail + Backtrace(exception->ExceptionRecord->ExceptionAddress), FuzzExit::Crash);
}

void OnTerminate()
{
    EndWithFinding("crash", "  std::terminate (an exception escaped)\n", FuzzExit::Crash);
}

void OnAbort(int)
{
    EndWithFinding("crash", "  abort\n", FuzzExit::Crash);
}

}  // namespace

void StartGuard(const std::string& findings, uint64_t seed, unsigned long limitMilliseconds)
{
    findingsFolder = findings;
    runSeed = seed;
    limit = limitMilliseconds;
    SetUnhandledExceptionFilter(LastChance);
    std::set_terminate(OnTerminate);
    std::signal(SIGABRT, OnAbort);
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), inputThread.Receive(),
                    THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT | SYNCHRONIZE, FALSE, 0);
    // The thread runs as long as the process; its handle is not needed.
    KernelHandle thread(CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr));
}

void GuardInput(const FuzzInput& input)
{
    WriteBytes(CurrentCopy(input.kind), input.bytes);
    currentKind.store(input.kind);
    currentIndex.store(input.index);
    running.store(true);
    startedAt.store(GetTickCount64());
}

void GuardIdle()
{
    startedAt.store(0);
    running.store(false);
}

std::string SaveFinding(const char* what, const FuzzInput& input)
{
    const std::string path = FindingName(what, input.kind, input.index);
    WriteBytes(path, input.bytes);
    return path;
}
