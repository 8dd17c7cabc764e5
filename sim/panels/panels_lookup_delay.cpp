// A slow panel system on request, for tests that need a worker caught in the middle of its
// cycle: with a delay set, every lookup made on a thread other than the simulator's main
// thread sleeps that long before it answers. Lookups under way are counted.
#include <windows.h>

#include "panels_table.h"

namespace panels {
namespace {

const DWORD main_thread = GetCurrentThreadId();  // PANELS.DLL is loaded on the main thread
volatile LONG delay_ms = 0;
volatile LONG in_progress = 0;

}  // namespace

LookupInProgress::LookupInProgress() {
    InterlockedIncrement(&in_progress);
    const LONG delay = delay_ms;
    if (delay > 0 && GetCurrentThreadId() != main_thread)
        Sleep(static_cast<DWORD>(delay));
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
