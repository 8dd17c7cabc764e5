// Windows' default timer tick under Wine: waits and sleeps of a module end only on whole
// ticks of 15.625 ms, as they do on Windows unless a program raises the timer resolution, and
// its tick count moves in whole ticks. Wine itself wakes within a millisecond.
#pragma once
#include <windows.h>

namespace sim {

constexpr double kTimerTickMs = 15.625;

// Points `module`'s imports of Sleep, SleepEx, WaitForSingleObject, WaitForSingleObjectEx,
// SignalObjectAndWait and GetTickCount (from any DLL) at tick-bound versions; returns how many
// imports were patched. Calls already made are not affected.
int CoarsenTimer(HMODULE module);

}  // namespace sim
