// Control of the fake WINMM clock (platform/clock.h): time moves only when a test moves it.
// timeGetTime is not logged: the workers read the clock on every pass.
#pragma once
#include "platform/fake_calls.h"

namespace fake {

void SetTime(DWORD milliseconds);
void AdvanceTime(DWORD milliseconds);
// The time zone's bias in minutes, as Windows keeps it (UTC = local time + bias: 60 in central
// Europe's standard time, 300 in New York's), which FileTimeToLocalFileTime applies. 0 unless set.
void SetTimeZoneBias(LONG minutes);

}  // namespace fake
