// A piece of work on a thread of its own while the window thread keeps
// handling its messages: the windows repaint, take the person's presses
// and carry out the worker's calls the whole time.
#pragma once

#include <functional>

// Runs `work` on a new thread with COM of its own and handles this thread's
// messages (the pump observer told after each pump) until it has ended;
// what it threw is thrown here.
void RunOnWorkerThread(const std::function<void()>& work);
