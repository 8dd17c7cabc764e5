// A refused simulator (version text not accepted or unreadable, or no "FS98MAIN" window at
// attach): exactly the wrong-version box, then an inert module: no link timer, no threads.
// Settings: version (the text the box must name), owned (1 when the window existed).
#include "e2e_support.h"

SIM_GAUGE_ENTRY {
    const char* version = e2e::SettingOr(driver, "version", "");
    const bool owned = std::strcmp(e2e::SettingOr(driver, "owned", "1"), "1") == 0;
    const uint32_t threads = driver->ThreadCount();

    char message[512], expected[600];
    std::snprintf(message, sizeof message,
                  "Meridane Service Module is running on the wrong Flight Simulator version "
                  "(%s).\n\nThis module requires: Flight Simulator 2004, a Century of Flight.\n",
                  version);
    e2e::BoxText(expected, sizeof expected, message);

    SimCheckU32(driver, "message boxes at attach", 1, driver->BoxCount());
    SimBox box{};
    if (driver->GetBox(0, &box)) {
        SimCheckText(driver, "box caption", "Meridane: Error", box.caption);
        SimCheckText(driver, "box text", expected, box.text);
        SimCheckU32(driver, "box owned by the main window", owned ? 1 : 0, box.owned_by_main);
        SimCheckU32(driver, "box answered OK (its only button)", IDOK, box.answer);
    }
    driver->Pump(2600);
    SimCheckU32(driver, "link timer ticks of an inert module", 0, driver->TimerTicks(nullptr, 0));
    SimCheckU32(driver, "threads of an inert module", threads, driver->ThreadCount());
    SimCheckU32(driver, "no further boxes", 1, driver->BoxCount());
    return 0;
}
