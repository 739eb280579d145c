#include "windows/WorkerThread.h"

#include "services/Win32Com.h"
#include "services/Win32Files.h"
#include "windows/MessagePump.h"

#include <process.h>

#include <exception>
#include <stdexcept>

namespace {

struct Work {
    const std::function<void()>& work;
    std::exception_ptr failure;
};

unsigned __stdcall WorkerMain(void* data)
{
    Work& job = *static_cast<Work*>(data);
    try {
        const ComApartment com;
        job.work();
    } catch (...) {
        job.failure = std::current_exception();
    }
    return 0;
}

}  // namespace

void RunOnWorkerThread(const std::function<void()>& work)
{
    Work job{work, nullptr};
    // _beginthreadex: the runtime's per-thread state is set up for the C++ code.
    const KernelHandle thread(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &WorkerMain, &job, 0, nullptr)));
    if (!thread) throw std::runtime_error("The worker thread could not be started.");
    const HANDLE handle = thread.Get();
    // Each wait ends with the thread's end or the next message. After a quit
    // message (left queued for the outer loop) the queue never looks empty
    // again: the thread's end is waited for in short steps then, the
    // worker's calls carried out between them.
    // Whatever a pump throws waits until the worker, which uses `job` and
    // may wait for this thread, has ended.
    std::exception_ptr pumpFailure;
    const auto pump = [&] {
        try {
            ProcessMessages();
        } catch (...) {
            if (!pumpFailure) pumpFailure = std::current_exception();
        }
    };
    pump();
    while (WaitForSingleObject(handle, 0) == WAIT_TIMEOUT) {
        if (QuitPending())
            WaitForSingleObject(handle, 10);
        else
            MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT);
        pump();
    }
    if (pumpFailure) std::rethrow_exception(pumpFailure);
    if (job.failure) std::rethrow_exception(job.failure);
}
