// The link timer: it retries every 2000 ms while GLOBAL.DLL is missing, and the first tick
// after both the panels hook and GLOBAL.DLL succeed ends it and starts the two workers.
// Setting global=present (loaded from the start), late (loaded by this gauge after two failed
// ticks) or absent (never loaded).
#include "e2e_support.h"

namespace {

uint32_t TickTime(const SimDriver* d, uint32_t index) {
    SimTimerTick ticks[64];
    const uint32_t count = d->TimerTicks(ticks, 64);
    return index < count && index < 64 ? ticks[index].time_ms : 0;
}

void CheckSpacing(const SimDriver* d, uint32_t first, uint32_t second) {
    const uint32_t gap = TickTime(d, second) - TickTime(d, first);
    char got[32];
    std::snprintf(got, sizeof got, "%lu ms", static_cast<unsigned long>(gap));
    d->Check(gap >= 1800 && gap <= 2600, "link timer period", "about 2000 ms", got);
}

// After the linking tick: two more threads, and no tick for longer than a period.
void CheckLinked(const SimDriver* d, uint32_t ticks, uint32_t threads_before) {
    SimCheckU32(d, "threads started by the linking tick", threads_before + 2, d->ThreadCount());
    d->Pump(2600);
    SimCheckU32(d, "link timer ticks once linked (timer killed)", ticks, d->TimerTicks(nullptr, 0));
}

}  // namespace

SIM_GAUGE_ENTRY {
    const char* mode = e2e::SettingOr(driver, "global", "present");
    const uint32_t threads = driver->ThreadCount();
    SimCheckU32(driver, "message boxes at attach", 0, driver->BoxCount());

    if (std::strcmp(mode, "present") == 0) {
        SimCheckU32(driver, "ticks until linked", 1, driver->PumpUntilTicks(1, 4000));
        CheckLinked(driver, 1, threads);
        return 0;
    }

    SimCheckU32(driver, "ticks while GLOBAL.DLL is missing", 2, driver->PumpUntilTicks(2, 6000));
    CheckSpacing(driver, 0, 1);
    SimCheckU32(driver, "threads while not linked", threads, driver->ThreadCount());
    if (std::strcmp(mode, "absent") == 0) {
        SimCheckU32(driver, "the timer keeps retrying", 3, driver->PumpUntilTicks(3, 3000));
        SimCheckU32(driver, "threads while not linked", threads, driver->ThreadCount());
        return 0;
    }

    SimCheckU32(driver, "GLOBAL.DLL loaded late", 1, driver->LoadStandIn("GLOBAL.DLL"));
    SimCheckU32(driver, "ticks until linked", 3, driver->PumpUntilTicks(3, 3000));
    CheckSpacing(driver, 1, 2);
    CheckLinked(driver, 3, threads);
    return 0;
}
