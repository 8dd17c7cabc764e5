// Control of the fake WINMM clock (platform/clock.h): time moves only when a test moves it.
// timeGetTime is not logged: the workers read the clock on every pass.
#pragma once
#include "platform/fake_calls.h"

namespace fake {

void SetTime(DWORD milliseconds);
void AdvanceTime(DWORD milliseconds);

}  // namespace fake
