// A gauge that misbehaves, to see the stand-in report it: setting fault=crash (an access
// violation in the gauge's own code) or fault=hang (never returns).
#include "e2e_support.h"

SIM_GAUGE_ENTRY {
    const char* fault = e2e::SettingOr(driver, "fault", "crash");
    driver->Pump(100);
    if (std::strcmp(fault, "hang") == 0) {
        for (;;)
            Sleep(50);
    }
    // An address in the never-mapped first page, hidden from the compiler.
    volatile uint32_t* nowhere =
        reinterpret_cast<volatile uint32_t*>(static_cast<uintptr_t>(driver->Now() & 0xC));
    *nowhere = 1;
    return 0;
}
