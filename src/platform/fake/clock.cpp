// Fake millisecond clock: time moves only when a test moves it.
#include <atomic>

#include "platform/clock.h"
#include "area.h"
#include "platform/fake_clock.h"
#include "platform/kernel.h"

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

// Not logged either. 5 March 2024, 10:00 plus the fake clock, so lines of a test are in order.
void GetLocalTime(SYSTEMTIME* time) {
    const DWORD ms = fake::now.load();
    const DWORD seconds = 10 * 3600 + ms / 1000;
    *time = SYSTEMTIME{2024,
                       3,
                       2,
                       static_cast<WORD>(5 + seconds / 86400),
                       static_cast<WORD>(seconds / 3600 % 24),
                       static_cast<WORD>(seconds / 60 % 60),
                       static_cast<WORD>(seconds % 60),
                       static_cast<WORD>(ms % 1000)};
}

}  // namespace platform
