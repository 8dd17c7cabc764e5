// The module's timing imports made tick-bound (see sim_coarse_timer.h). A timed wait that
// runs out ends at the first tick boundary at or after its time; a wait whose object is
// signalled ends at once, as on Windows.
#include "sim_coarse_timer.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace sim {
namespace {

LARGE_INTEGER frequency{};
LARGE_INTEGER origin{};
DWORD origin_ticks = 0;

double NowMs() {
    if (frequency.QuadPart == 0) {
        QueryPerformanceFrequency(&frequency);
        QueryPerformanceCounter(&origin);
        origin_ticks = GetTickCount();
    }
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart - origin.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

// The tick boundary at or after `ms` from now, as a time.
double TickAfter(DWORD ms) {
    return std::ceil((NowMs() + ms) / kTimerTickMs) * kTimerTickMs;
}

DWORD MsUntil(double at) {
    const double left = at - NowMs();
    return left <= 0 ? 0 : static_cast<DWORD>(std::ceil(left));
}

// Waits out what is left until `at` (the object did not come in time).
DWORD WaitUntil(HANDLE handle, double at, DWORD result) {
    while (result == WAIT_TIMEOUT && NowMs() < at)
        result = WaitForSingleObject(handle, MsUntil(at));
    return result;
}

void WINAPI CoarseSleep(DWORD ms) {
    if (ms == 0 || ms == INFINITE) {
        Sleep(ms);
        return;
    }
    const double at = TickAfter(ms);
    while (NowMs() < at)
        Sleep(MsUntil(at));
}

DWORD WINAPI CoarseSleepEx(DWORD ms, BOOL alertable) {
    if (ms == 0 || ms == INFINITE || alertable)
        return SleepEx(ms, alertable);
    CoarseSleep(ms);
    return 0;
}

DWORD WINAPI CoarseWaitForSingleObject(HANDLE handle, DWORD ms) {
    if (ms == 0 || ms == INFINITE)
        return WaitForSingleObject(handle, ms);
    const double at = TickAfter(ms);
    return WaitUntil(handle, at, WaitForSingleObject(handle, MsUntil(at)));
}

DWORD WINAPI CoarseWaitForSingleObjectEx(HANDLE handle, DWORD ms, BOOL alertable) {
    if (ms == 0 || ms == INFINITE || alertable)
        return WaitForSingleObjectEx(handle, ms, alertable);
    return CoarseWaitForSingleObject(handle, ms);
}

DWORD WINAPI CoarseSignalObjectAndWait(HANDLE signal, HANDLE wait, DWORD ms, BOOL alertable) {
    if (ms == 0 || ms == INFINITE || alertable)
        return SignalObjectAndWait(signal, wait, ms, alertable);
    const double at = TickAfter(ms);
    return WaitUntil(wait, at, SignalObjectAndWait(signal, wait, MsUntil(at), FALSE));
}

DWORD WINAPI CoarseGetTickCount() {
    const double ticks = std::floor(NowMs() / kTimerTickMs);
    return origin_ticks + static_cast<DWORD>(ticks * kTimerTickMs);
}

struct Replacement {
    const char* name;
    const void* function;
};
const Replacement kReplacements[] = {
    {"Sleep", reinterpret_cast<const void*>(&CoarseSleep)},
    {"SleepEx", reinterpret_cast<const void*>(&CoarseSleepEx)},
    {"WaitForSingleObject", reinterpret_cast<const void*>(&CoarseWaitForSingleObject)},
    {"WaitForSingleObjectEx", reinterpret_cast<const void*>(&CoarseWaitForSingleObjectEx)},
    {"SignalObjectAndWait", reinterpret_cast<const void*>(&CoarseSignalObjectAndWait)},
    {"GetTickCount", reinterpret_cast<const void*>(&CoarseGetTickCount)},
};

const void* ReplacementFor(const char* name) {
    for (const Replacement& r : kReplacements) {
        if (std::strcmp(r.name, name) == 0)
            return r.function;
    }
    return nullptr;
}

void Patch(uintptr_t* slot, const void* function) {
    DWORD old = 0;
    if (VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) {
        *slot = reinterpret_cast<uintptr_t>(function);
        VirtualProtect(slot, sizeof *slot, old, &old);
    }
}

}  // namespace

int CoarsenTimer(HMODULE module) {
    if (module == nullptr)
        return 0;
    NowMs();  // fixes the origin before any patched call
    auto* base = reinterpret_cast<uint8_t*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0)
        return 0;
    int patched = 0;
    for (auto* import =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name != 0; ++import) {
        if (import->OriginalFirstThunk == 0)
            continue;  // no names to go by
        const auto* names =
            reinterpret_cast<const IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<uintptr_t*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* by_name =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            const void* replacement = ReplacementFor(reinterpret_cast<const char*>(by_name->Name));
            if (replacement != nullptr) {
                Patch(slots, replacement);
                ++patched;
            }
        }
    }
    return patched;
}

}  // namespace sim
