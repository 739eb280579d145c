// The program's top-level error handler. Every window procedure runs its
// handlers through it, so that no exception ever leaves a window procedure:
// a SetupError (a failed registry write, a missing shell-link object) is
// shown with its own message, and the run goes on from the message loop.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Runs `handler` and returns its result; an exception it raises is shown in
// a message box (OK, stop icon) and 0 is returned instead.
LRESULT RunGuarded(const std::function<LRESULT()>& handler) noexcept;

// The box of the top-level handler: `text` under the application's title,
// OK and the stop icon. Never throws.
void ShowErrorMessage(const std::string& text) noexcept;
