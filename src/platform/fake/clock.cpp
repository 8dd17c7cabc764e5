// Fake millisecond clock: time moves only when a test moves it.
#include <atomic>

#include "platform/clock.h"
#include "area.h"
#include "platform/fake_clock.h"

namespace fake {
namespace {
std::atomic<DWORD> now{0};
ResetHook reset_clock([] { now = 0; });
}  // namespace

void SetTime(DWORD milliseconds) {
    now = milliseconds;
}
void AdvanceTime(DWORD milliseconds) {
    now += milliseconds;
}

}  // namespace fake

namespace platform {

// Not logged: the workers read the clock on every pass.
DWORD timeGetTime() {
    return fake::now.load();
}

}  // namespace platform
