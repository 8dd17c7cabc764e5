// The workers under Windows' default timer tick (the module's waits end on 15.625 ms ticks,
// sim_coarse_timer.h) with a panel system whose lookups hold its lock for a while: start and
// stop take little real time, the air-data worker keeps about 30 cycles a second, a stop in the
// middle of a cycle of lookups lets the cycle finish and leaves the lock free, and a worker
// stuck in a lookup is terminated after one second of real time. The gauge loads the module
// itself (fs9.exe --no-module) to time its unload.
#include "sim_coarse_timer.h"
#include "sim_panels.h"
#include "soak_support.h"

namespace {

struct Panels {
    SimPanelsSetLookupDelayFn set_delay;
    SimPanelsLookupsInProgressFn in_progress;
    SimPanelsLookupLockFreeFn lock_free;
    SimPanelsWorkerCyclesFn worker_cycles;
};

double NowMs() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

void CheckWithin(const SimDriver* d, const char* what, double low, double high, double got) {
    char expected[64], actual[32];
    std::snprintf(expected, sizeof expected, "%.0f to %.0f", low, high);
    std::snprintf(actual, sizeof actual, "%.1f", got);
    d->Check(got >= low && got <= high, what, expected, actual);
}

// Loaded, tick-bound, linked (two workers), the air-data worker started; its start's real time.
const MdnOperationTable* LoadAndStart(const SimDriver* d, HMODULE* module, double* start_ms) {
    *module = soak::LoadModule(d);
    const MdnOperationTable* ops = *module ? soak::Operations(*module) : nullptr;
    if (ops == nullptr)
        return nullptr;
    SimLogf(d, "coarse timer: %d timing imports of the module patched", sim::CoarsenTimer(*module));
    d->PumpUntilTicks(d->TimerTicks(nullptr, 0) + 1, 4000);
    const uint32_t command = ops->FindKeyCommand("MDN_ADC_START") & 0xFFFF;
    const double start = NowMs();
    ops->FireKeyCommand(command);
    *start_ms = NowMs() - start;
    return ops;
}

// Unloads while a lookup of the worker is under way; the unload's real time.
double UnloadMidLookup(const SimDriver* d, const Panels& panels, HMODULE module) {
    const uint32_t until = d->Now() + 2000;
    while (panels.in_progress() == 0 && d->Now() < until)
        Sleep(0);
    d->Check(panels.in_progress() > 0, "a lookup of the worker under way at the unload", "yes",
             panels.in_progress() > 0 ? "yes" : "no");
    const double start = NowMs();
    soak::UnloadModule(module);
    return NowMs() - start;
}

}  // namespace

SIM_GAUGE_ENTRY {
    const auto find = [driver](const char* name) {
        return driver->StandInExport("PANELS.DLL", name);
    };
    const Panels panels{
        reinterpret_cast<SimPanelsSetLookupDelayFn>(find("SimPanelsSetLookupDelay")),
        reinterpret_cast<SimPanelsLookupsInProgressFn>(find("SimPanelsLookupsInProgress")),
        reinterpret_cast<SimPanelsLookupLockFreeFn>(find("SimPanelsLookupLockFree")),
        reinterpret_cast<SimPanelsWorkerCyclesFn>(find("SimPanelsWorkerCycles"))};
    if (!panels.set_delay || !panels.in_progress || !panels.lock_free || !panels.worker_cycles)
        return driver->Check(0, "panels controls", "found", "missing"), 0;
    const uint32_t threads = driver->ThreadCount();

    HMODULE module = nullptr;
    double start_ms = 0;
    if (LoadAndStart(driver, &module, &start_ms) == nullptr)
        return driver->Check(0, "module loaded", "yes", "no"), 0;
    SimCheckU32(driver, "three workers running", threads + 3, driver->ThreadCount());
    SimLogf(driver, "air-data worker started in %.2f ms", start_ms);
    CheckWithin(driver, "start of the air-data worker (ms)", 0, 250, start_ms);

    const uint32_t first = panels.worker_cycles();
    const double from = NowMs();
    driver->Pump(3000);
    const double rate = (panels.worker_cycles() - first) * 1000.0 / (NowMs() - from);
    SimLogf(driver, "air-data cycles a second on 15.625 ms ticks: %.1f", rate);
    CheckWithin(driver, "air-data cycles a second", 27, 32, rate);

    // Each lookup of the worker now holds the panel system's lock for 10 ms: a cycle of
    // lookups takes about 410 ms, so the unload comes in the middle of one.
    panels.set_delay(10);
    driver->Pump(200);
    const double stop_ms = UnloadMidLookup(driver, panels, module);
    SimLogf(driver, "unloaded with the workers stopped in %.1f ms", stop_ms);
    CheckWithin(driver, "unload in the middle of a cycle of lookups (ms)", 0, 900, stop_ms);
    SimCheckU32(driver, "panel system's lookup lock free after the unload", 1, panels.lock_free());
    Sleep(50);
    SimCheckU32(driver, "threads after the unload", threads, driver->ThreadCount());

    // A lookup that does not come back for three seconds: the stop gives up after one.
    if (LoadAndStart(driver, &module, &start_ms) == nullptr)
        return driver->Check(0, "module loaded again", "yes", "no"), 0;
    panels.set_delay(3000);
    const double stuck_ms = UnloadMidLookup(driver, panels, module);
    panels.set_delay(0);
    SimLogf(driver, "unloaded with the air-data worker stuck in a lookup in %.1f ms", stuck_ms);
    CheckWithin(driver, "unload with a worker stuck in a lookup (ms)", 950, 1600, stuck_ms);
    return 0;
}
