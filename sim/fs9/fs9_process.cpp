// What the stand-in's process shows of the module's place in it: a heartbeat thread that takes
// the loader lock over and over while the module attaches (every thread that starts, ends or
// loads a library needs that lock, so its longest wait is how long the attach kept the
// process's other threads from doing so), and an end of the process while another thread
// holds the heaps' locks, as a thread killed by the process's end may have left them.
#include <cstdio>

#include "fs9_log.h"
#include "fs9_world.h"

namespace fs9 {
namespace {

typedef LONG(WINAPI* LockLoaderFn)(ULONG flags, ULONG* state, ULONG_PTR* cookie);
typedef LONG(WINAPI* UnlockLoaderFn)(ULONG flags, ULONG_PTR cookie);

LARGE_INTEGER frequency{};
volatile LONG beating = 0;
volatile LONG beats = 0;
volatile LONG longest_wait_us = 0;
HANDLE heartbeat = nullptr;

double NowUs() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

DWORD WINAPI Heartbeat(void*) {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    const auto lock = reinterpret_cast<LockLoaderFn>(GetProcAddress(ntdll, "LdrLockLoaderLock"));
    const auto unlock =
        reinterpret_cast<UnlockLoaderFn>(GetProcAddress(ntdll, "LdrUnlockLoaderLock"));
    char path[MAX_PATH];
    while (beating) {
        const double start = NowUs();
        if (lock != nullptr && unlock != nullptr) {
            ULONG_PTR cookie = 0;
            lock(0, nullptr, &cookie);
            unlock(0, cookie);
        } else {
            GetModuleFileNameA(nullptr, path, sizeof path);  // takes the lock as well
        }
        const LONG waited = static_cast<LONG>(NowUs() - start);
        if (waited > longest_wait_us)
            InterlockedExchange(&longest_wait_us, waited);
        InterlockedIncrement(&beats);
        Sleep(1);
    }
    return 0;
}

// Every heap of the process: on Windows the C run-time's malloc works on the process heap, under
// Wine on a heap of the run-time's own, which must be held as well to show the same.
DWORD WINAPI HoldHeapLocks(void* ready) {
    HANDLE heaps[64];
    const DWORD count = GetProcessHeaps(64, heaps);
    for (DWORD i = 0; i < count && i < 64; ++i)
        HeapLock(heaps[i]);
    SetEvent(static_cast<HANDLE>(ready));
    for (;;)
        Sleep(INFINITE);
}

DWORD WINAPI SetStarted(void* started) {
    SetEvent(static_cast<HANDLE>(started));
    return 0;
}

DWORD WINAPI ReadControlWord(void* out) {
    uint16_t word = 0;
    __asm__ volatile("fnstcw %0" : "=m"(word));
    *static_cast<uint16_t*>(out) = word;
    return 0;
}

// The loader lock is the critical section the process environment block names (at 0xA0 in a
// 32-bit process); its owner is the thread inside a library's entry point.
bool LoaderLockHeldHere() {
    uintptr_t address = 0;
    __asm__("movl %%fs:0x30, %0" : "=r"(address));
    const auto* peb = reinterpret_cast<const uint8_t*>(address);
    const auto* lock = *reinterpret_cast<CRITICAL_SECTION* const*>(peb + 0xA0);
    return lock != nullptr && lock->OwningThread == ULongToHandle(GetCurrentThreadId());
}

}  // namespace

void CheckLoaderLockInBox(const char* caption) {
    if (!TheWorld().options.heartbeat)
        return;
    const bool held = LoaderLockHeldHere();
    // A new thread attaches the process's libraries under the loader lock before it runs, so
    // it cannot run while this thread holds it: a dialog that waited for it would hang.
    HANDLE started = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const double start = NowMs();
    HANDLE thread = CreateThread(nullptr, 0, &SetStarted, started, 0, nullptr);
    const bool ran = thread != nullptr && WaitForSingleObject(started, 2000) == WAIT_OBJECT_0;
    const double waited = NowMs() - start;
    if (thread != nullptr)
        CloseHandle(thread);
    CloseHandle(started);
    Log("loader lock while the box \"%s\" shows: %s, and a thread started from it %s after %.1f ms",
        caption, held ? "held by its thread" : "not held", ran ? "ran" : "had not run", waited);
    char what[160];
    std::snprintf(what, sizeof what, "loader lock while the box \"%s\" shows", caption);
    Check(!held, what, "not held", held ? "held by the box's thread" : "not held");
    std::snprintf(what, sizeof what, "a thread started while the box \"%s\" shows", caption);
    Check(ran, what, "runs within 2 s", ran ? "ran" : "had not run after 2 s");
}

uint16_t NewThreadControlWord() {
    uint16_t word = 0;
    HANDLE thread = CreateThread(nullptr, 0, &ReadControlWord, &word, 0, nullptr);
    if (thread == nullptr)
        return 0;
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    return word;
}

void StartHeartbeat() {
    QueryPerformanceFrequency(&frequency);
    beating = 1;
    heartbeat = CreateThread(nullptr, 0, &Heartbeat, nullptr, 0, nullptr);
    while (heartbeat != nullptr && beats < 2)
        Sleep(1);
    InterlockedExchange(&longest_wait_us, 0);
}

void StopHeartbeat(double load_ms) {
    if (heartbeat == nullptr)
        return;
    Sleep(5);  // a last beat after the load
    beating = 0;
    WaitForSingleObject(heartbeat, 1000);
    CloseHandle(heartbeat);
    heartbeat = nullptr;
    const double longest_ms = longest_wait_us / 1000.0;
    Log("loader lock: the heartbeat waited %.1f ms at most while the module loaded "
        "(LoadLibrary took %.1f ms, %ld beats)",
        longest_ms, load_ms, static_cast<long>(beats));
    const unsigned limit = TheWorld().options.heartbeat_limit_ms;
    if (limit != 0) {
        char expected[64], got[64];
        std::snprintf(expected, sizeof expected, "under %u ms", limit);
        std::snprintf(got, sizeof got, "%.1f ms", longest_ms);
        Check(longest_ms < limit, "loader lock held by the module's load", expected, got);
    }
}

double NowMs() {
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    return NowUs() / 1000.0;
}

void ExitWithHeapLocked(unsigned code) {
    typedef void(__stdcall * WatchFn)(void* const*);
    HMODULE panels = StandInHandle("PANELS.DLL");
    const auto watch = reinterpret_cast<WatchFn>(
        panels ? GetProcAddress(panels, "SimPanelsWatchProcessEnd") : nullptr);
    if (watch != nullptr && PanelsTable() != nullptr)
        watch(PanelsTable());
    Log("ending by ExitProcess(%u) while another thread holds the heaps' locks", code);
    std::fflush(stdout);
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CreateThread(nullptr, 0, &HoldHeapLocks, ready, 0, nullptr);
    WaitForSingleObject(ready, 5000);
    ExitProcess(code);
}

}  // namespace fs9
