// The message loop. fs9.exe and its stand-in modules arm no thread timers (timers without a
// window), so every thread-timer tick is the service module's link timer: each is recorded
// and logged, with the thread count after it (the successful tick starts two workers). Wine
// carries a handle, not the procedure's address, in such a tick, so it is told apart by its
// missing window. After the module is unloaded a tick would call into freed code, so it is
// reported and dropped instead.
#include "fs9_log.h"
#include "fs9_world.h"

#include <tlhelp32.h>

#include <cstdio>

namespace fs9 {
namespace {

std::vector<SimTimerTick> ticks;
uint32_t dispatched = 0;

constexpr uint16_t kDirect3DControlWord = 0x007F;  // 24-bit significands, all masked

void Dispatch(MSG& message) {
    const bool module_timer =
        message.message == WM_TIMER && message.hwnd == nullptr && TheWorld().module_base != 0;
    if (module_timer && TheWorld().module_unloaded) {
        Check(false, "no link timer after unload", "no tick", "a tick into the unloaded module");
        return;
    }
    if (module_timer) {
        const uint32_t before = ThreadCount();
        ticks.push_back(SimTimerTick{Now(), static_cast<uint32_t>(message.wParam),
                                     static_cast<uint32_t>(message.lParam)});
        TranslateMessage(&message);
        SetCallerFpu();
        DispatchMessageA(&message);
        CheckCallerFpu("link timer tick");
        ++dispatched;
        const uint32_t after = ThreadCount();
        Log("link timer tick %u (timer %u): threads %u -> %u", static_cast<unsigned>(ticks.size()),
            static_cast<unsigned>(message.wParam), static_cast<unsigned>(before),
            static_cast<unsigned>(after));
        return;
    }
    TranslateMessage(&message);
    SetCallerFpu();
    DispatchMessageA(&message);
    CheckCallerFpu("dispatch");
}

}  // namespace

void SetCallerFpu() {
    if (!TheWorld().options.fpu_single)
        return;
    const uint16_t word = kDirect3DControlWord;
    asm volatile("fldcw %0" : : "m"(word));
}

void CheckCallerFpu(const char* call) {
    if (!TheWorld().options.fpu_single)
        return;
    uint16_t word;
    asm volatile("fnstcw %0" : "=m"(word));
    if (word == kDirect3DControlWord)
        return;
    char what[96], got[16];
    std::snprintf(what, sizeof what, "x87 control word kept across %s", call);
    std::snprintf(got, sizeof got, "0x%04X", word);
    Check(false, what, "0x007F", got);
    SetCallerFpu();
}

void Pump(uint32_t ms) {
    const uint32_t end = Now() + ms;
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT)
                continue;  // the run ends by its own clock
            Dispatch(message);
        }
        const uint32_t now = Now();
        if (static_cast<int32_t>(end - now) <= 0)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    }
}

uint32_t PumpUntilTicks(uint32_t count, uint32_t max_ms) {
    const uint32_t end = Now() + max_ms;
    while (dispatched < count) {
        const uint32_t now = Now();
        if (static_cast<int32_t>(end - now) <= 0)
            break;
        const uint32_t step = end - now < 20 ? end - now : 20;
        Pump(step);
    }
    return dispatched;
}

std::vector<SimTimerTick> Ticks() {
    return ticks;
}
uint32_t TicksDispatched() {
    return dispatched;
}

uint32_t ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return 0;
    const DWORD process = GetCurrentProcessId();
    uint32_t count = 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == process)
            ++count;
        entry.dwSize = sizeof entry;
    }
    CloseHandle(snapshot);
    return count;
}

}  // namespace fs9
