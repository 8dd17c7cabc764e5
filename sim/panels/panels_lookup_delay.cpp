// A slow panel system on request, for tests that need a worker caught in the middle of its
// cycle: with a delay set, every lookup made on a thread other than the simulator's main
// thread sleeps that long before it answers, holding the lookup lock as it does, as the
// simulator's own lookup holds its locks. Lookups under way and the off-main-thread bursts of
// lookups (the air-data worker's cycles) are counted.
#include <windows.h>

#include "panels_table.h"

namespace panels {
namespace {

const DWORD main_thread = GetCurrentThreadId();  // PANELS.DLL is loaded on the main thread
volatile LONG delay_ms = 0;
volatile LONG in_progress = 0;
volatile LONG worker_cycles = 0;
volatile LONG last_worker_lookup = 0;  // GetTickCount of the last off-main-thread lookup
CRITICAL_SECTION lookup_lock;

struct LockSetUp {
    LockSetUp() { InitializeCriticalSection(&lookup_lock); }
} lock_set_up;

constexpr LONG kBurstGapMs = 5;

}  // namespace

LookupInProgress::LookupInProgress() {
    InterlockedIncrement(&in_progress);
    if (GetCurrentThreadId() == main_thread)
        return;
    const LONG now = static_cast<LONG>(GetTickCount());
    if (now - InterlockedExchange(&last_worker_lookup, now) >= kBurstGapMs)
        InterlockedIncrement(&worker_cycles);
    const LONG delay = delay_ms;
    if (delay > 0) {
        EnterCriticalSection(&lookup_lock);
        Sleep(static_cast<DWORD>(delay));
        LeaveCriticalSection(&lookup_lock);
    }
}

LookupInProgress::~LookupInProgress() {
    InterlockedDecrement(&in_progress);
}

}  // namespace panels

extern "C" __declspec(dllexport) void __stdcall SimPanelsSetLookupDelay(uint32_t ms) {
    InterlockedExchange(&panels::delay_ms, static_cast<LONG>(ms));
}

extern "C" __declspec(dllexport) uint32_t __stdcall SimPanelsLookupsInProgress() {
    return static_cast<uint32_t>(panels::in_progress);
}

extern "C" __declspec(dllexport) uint32_t __stdcall SimPanelsLookupLockFree() {
    if (!TryEnterCriticalSection(&panels::lookup_lock))
        return 0;
    LeaveCriticalSection(&panels::lookup_lock);
    return 1;
}

extern "C" __declspec(dllexport) uint32_t __stdcall SimPanelsWorkerCycles() {
    return static_cast<uint32_t>(panels::worker_cycles);
}
