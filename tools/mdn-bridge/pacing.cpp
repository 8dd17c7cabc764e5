#include "pacing.h"

namespace bridge {
namespace {

LONGLONG Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

LONGLONG Frequency() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
}

}  // namespace

uint32_t NowMs() {
    static const LONGLONG frequency = Frequency();
    const LONGLONG now = Counter();
    // Whole seconds and the rest apart, so a counter of years does not overflow the product.
    return static_cast<uint32_t>((now / frequency) * 1000 + (now % frequency) * 1000 / frequency);
}

Pacer::Pacer(unsigned per_second)
    : timer_(CreateWaitableTimerA(nullptr, FALSE, nullptr)),
      frequency_(Frequency()),
      period_(frequency_ / per_second),
      next_(Counter() + period_) {}

Pacer::~Pacer() {
    if (timer_ != nullptr)
        CloseHandle(timer_);
}

void Pacer::Wait() {
    LONGLONG now = Counter();
    if (now >= next_) {
        next_ += ((now - next_) / period_ + 1) * period_;
        return;
    }
    const LONGLONG wait = next_ - now;
    // Due time in 100-ns units, negative for relative.
    LARGE_INTEGER due;
    due.QuadPart = -((wait / frequency_) * 10000000 + (wait % frequency_) * 10000000 / frequency_);
    if (timer_ != nullptr && SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE))
        WaitForSingleObject(timer_, INFINITE);
    else
        Sleep(static_cast<DWORD>(wait * 1000 / frequency_));
    next_ += period_;
}

}  // namespace bridge
