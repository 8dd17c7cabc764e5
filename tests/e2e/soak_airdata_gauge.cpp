// The air-data worker runs while another process reads the block continuously
// (soak_airdata_reader, started beside fs9.exe), and the module is then unloaded in the middle
// of the worker's cycle (the stop lets the cycle finish): the panel system is made slow for the
// worker's thread, so that a cycle of lookups takes most of the time, and the gauge ends while a
// lookup of the worker is under way. The reader checks every copy it makes, before and after.
// Settings: seconds (how long the worker runs, default 4).
#include <cstdlib>

#include "sim_panels.h"
#include "soak_support.h"

SIM_GAUGE_ENTRY {
    const MdnOperationTable* ops = soak::Operations(static_cast<HMODULE>(driver->module));
    const auto set_delay = reinterpret_cast<SimPanelsSetLookupDelayFn>(
        driver->StandInExport("PANELS.DLL", "SimPanelsSetLookupDelay"));
    const auto in_progress = reinterpret_cast<SimPanelsLookupsInProgressFn>(
        driver->StandInExport("PANELS.DLL", "SimPanelsLookupsInProgress"));
    if (ops == nullptr || set_delay == nullptr || in_progress == nullptr)
        return driver->Check(0, "operation table and panels controls", "found", "missing"), 0;
    SimCheckU32(driver, "linked", 1, driver->PumpUntilTicks(1, 4000));

    set_delay(1);
    const uint32_t threads = driver->ThreadCount();
    const uint32_t start_command = ops->FindKeyCommand("MDN_ADC_START") & 0xFFFF;
    SimCheckU32(driver, "air-data start fired", 1, ops->FireKeyCommand(start_command));
    SimCheckU32(driver, "air-data worker running", threads + 1, driver->ThreadCount());

    const char* seconds = driver->Setting("seconds");
    driver->Pump((seconds ? static_cast<uint32_t>(std::atoi(seconds)) : 4) * 1000);

    // Leave while the worker is inside its cycle: the unload follows at once.
    const uint32_t until = driver->Now() + 1000;
    while (in_progress() == 0 && driver->Now() < until)
        Sleep(0);
    SimLogf(driver, "ending with %lu lookup(s) of the air-data worker under way",
            static_cast<unsigned long>(in_progress()));
    SimCheckU32(driver, "the worker is mid-cycle as the module goes", 1, in_progress() > 0);
    return 0;
}
