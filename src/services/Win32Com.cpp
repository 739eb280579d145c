#include "services/Win32Com.h"

namespace {

// The apartment of this thread that waits for its first need, if any.
thread_local ComApartment* waiting = nullptr;

}  // namespace

ComApartment::ComApartment(Start start)
{
    if (start == Start::Now) {
        Begin();
        return;
    }
    outer_ = waiting;
    waiting = this;
    waits_ = true;
}

ComApartment::~ComApartment()
{
    if (waits_) waiting = outer_;
    if (initialized_) CoUninitialize();
}

void ComApartment::Begin()
{
    if (!initialized_) initialized_ = SUCCEEDED(CoInitialize(nullptr));
}

void ComApartment::Need()
{
    if (waiting != nullptr) waiting->Begin();
}
