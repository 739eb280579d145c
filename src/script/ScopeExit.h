// The second half of a paired action, done when the scope ends whatever way
// it ends: a temporary file removed, a mode set back. The action must not
// throw; Release() keeps it from running. Every program uses it: SETUP.EXE
// and the author tools alike.
#pragma once

#include <utility>

template <typename Action>
class ScopeExit {
public:
    explicit ScopeExit(Action action) : action_(std::move(action)) {}
    ~ScopeExit()
    {
        if (active_) action_();
    }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

    void Release() { active_ = false; }

private:
    Action action_;
    bool active_ = true;
};
