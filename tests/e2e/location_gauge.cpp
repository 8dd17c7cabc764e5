// The simulator folder cannot be found from the registry: attach shows nothing (it runs under
// the loader lock); the first link-timer tick asks whether to browse, in a box owned by the
// simulator window, gets No, leaves the registry value as it was, and the module runs on.
// Setting folder: the value written before the run (none: the value was removed).
#include "e2e_support.h"

namespace {

constexpr char kKey[] = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0";

bool ReadExePath(char* out, DWORD size) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD type = 0;
    const bool ok = RegQueryValueExA(key, "EXE Path", nullptr, &type, reinterpret_cast<BYTE*>(out),
                                     &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    if (ok)
        out[size ? size - 1 : 0] = '\0';
    return ok;
}

}  // namespace

SIM_GAUGE_ENTRY {
    const char* folder = driver->Setting("folder");
    char expected[600];
    e2e::BoxText(expected, sizeof expected,
                 "The system failed to locate Flight Simulator. You will be prompted to select\n"
                 "the Flight Simulator 2004 installation folder.\n\nDo you want to proceed?");

    SimCheckU32(driver, "message boxes at attach", 0, driver->BoxCount());
    SimCheckU32(driver, "the first link-timer tick", 1, driver->PumpUntilTicks(1, 4000));
    SimCheckU32(driver, "message boxes after it", 1, driver->BoxCount());
    SimBox box{};
    if (driver->GetBox(0, &box)) {
        SimCheckText(driver, "prompt caption", "Meridane: Error", box.caption);
        SimCheckText(driver, "prompt text", expected, box.text);
        SimCheckU32(driver, "prompt owned by the simulator window", 1, box.owned_by_main);
        SimCheckU32(driver, "prompt answered No", IDNO, box.answer);
    }

    char value[MAX_PATH] = "";
    const bool present = ReadExePath(value, sizeof value);
    if (folder == nullptr) {
        driver->Check(!present, "registry value after No", "absent", value);
    } else {
        SimCheckText(driver, "registry value after No (unchanged)", folder,
                     present ? value : "(absent)");
    }
    driver->Pump(2500);
    SimCheckU32(driver, "no second prompt", 1, driver->BoxCount());
    return 0;
}
