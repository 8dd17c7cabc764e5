// A whole session as a user meets it: the sample settings file binds the module's own
// commands, the "M&DN" menu and the "Navigation Device" submenu appear in the menu bar,
// a gauge takes navigation over from the menu and the keys hand it back, the VOR key toggles,
// the dump keys write their files, the air-data key starts the shared block, About shows.
#include <string>

#include "e2e_support.h"
#include "mdnsrv.h"

namespace {

int gauge_activations = 0;
void MDN_STDCALL GaugeActivated() {
    ++gauge_activations;
}

int late_activations = 0;
void MDN_STDCALL LateActivated() {
    ++late_activations;
}

std::string Menus(const SimDriver* d) {
    static char text[8192];
    d->DescribeMenus(text, sizeof text);
    return text;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

double AirDataTime() {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, MDN_AIRDATA_NAME);
    if (mapping == nullptr)
        return -1.0;
    double value = -1.0;
    if (const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, MDN_AIRDATA_SIZE)) {
        value = static_cast<const MdnAirDataBlock*>(view)->timeOfDay;
        UnmapViewOfFile(view);
    }
    CloseHandle(mapping);
    return value;
}

}  // namespace

SIM_GAUGE_ENTRY {
    HMODULE module = static_cast<HMODULE>(driver->module);
    const auto* service =
        reinterpret_cast<const MdnServiceObject*>(GetProcAddress(module, MDN_SERVICE_SYMBOL));
    if (service == nullptr || service->table == nullptr) {
        driver->Check(0, "service object", "MdnSrv export", "missing");
        return 1;
    }
    const MdnOperationTable* ops = service->table;
    const std::string folder = e2e::SettingOr(driver, "folder", "");

    // The own commands are bound from the sample settings file.
    for (const char* command : {"MDN_NAV_DEVICE_CYCLE", "MDN_SIMPLE_VOR_COMPATIBILITY",
                                "MDN_DUMP_TFC", "MDN_DUMP_KEYS", "MDN_ADC_START"}) {
        driver->Check(ops->FindKeyCommand(command) != 0, "own command bound", command,
                      ops->FindKeyCommand(command) ? command : "unbound");
    }

    // The top-level menu, once, whatever the number of repaints.
    driver->PaintFrame();
    driver->PaintFrame();
    std::string menus = Menus(driver);
    driver->Log(("menus after repaint:\n" + menus).c_str());
    const size_t first = menus.find("M&DN");
    driver->Check(first != std::string::npos && menus.find("M&DN", first + 1) == std::string::npos,
                  "one M&DN menu", "once", first == std::string::npos ? "none" : "once or more");
    for (const char* item : {"Meridane Community", "Meridane General Forum",
                             "Meridane Customer Services", "Visit Meridane Website", "About..."}) {
        driver->Check(Contains(menus, item), "M&DN item", item, Contains(menus, item) ? item : "");
    }

    // No submenu while only the simulator's GPS exists; then with a gauge device, GPS checked.
    driver->OpenMenuBar();
    driver->Check(!Contains(Menus(driver), "Navigation Device"), "no submenu with only the GPS",
                  "absent", Contains(Menus(driver), "Navigation Device") ? "present" : "absent");
    const uint32_t gauge = ops->RegisterNavDevice(&GaugeActivated, "Meridane G1 Navigator", "G1");
    driver->OpenMenuBar();
    menus = Menus(driver);
    driver->Log(("menus after a gauge registered:\n" + menus).c_str());
    driver->Check(Contains(menus, "Navigation Device"), "submenu", "present", "absent");
    driver->Check(Contains(menus, "[x] Flight Simulator GPS (38912)"), "GPS checked",
                  "[x] Flight Simulator GPS (38912)", menus.c_str());
    driver->Check(Contains(menus, "Meridane G1 Navigator (38913)") &&
                      !Contains(menus, "[x] Meridane G1 Navigator"),
                  "gauge item unchecked", "Meridane G1 Navigator (38913)", menus.c_str());
    driver->Check(Contains(menus, "[x] Simple Vor Compatibility"), "VOR item checked",
                  "[x] Simple Vor Compatibility", menus.c_str());

    // Choosing the gauge's item hands it navigation, once; choosing it again does nothing.
    driver->PostCommand(38913);
    SimCheckU32(driver, "gauge active after its menu item", 1, ops->IsNavDeviceActive(gauge));
    SimCheckU32(driver, "gauge told once", 1, gauge_activations);
    driver->PostCommand(38913);
    SimCheckU32(driver, "active item chosen again tells nobody", 1, gauge_activations);

    // The cycle key hands navigation back to the simulator's GPS.
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, 0x78 /* F9 */);
    char long_name[64] = "";
    ops->GetActiveNavDevice(long_name, nullptr);
    SimCheckText(driver, "cycle key", "Flight Simulator GPS", long_name);

    // The submenu follows the registry: after a device comes and an earlier one goes, the next
    // opening shows the devices and marks as they are, and each item selects what it names.
    const uint32_t late = ops->RegisterNavDevice(&LateActivated, "GA Late", "LATE");
    ops->UnregisterNavDevice(gauge);
    driver->OpenMenuBar();
    menus = Menus(driver);
    driver->Log(("menus after a device came and another went:\n" + menus).c_str());
    driver->Check(
        Contains(menus, "[x] Flight Simulator GPS (38912)") && Contains(menus, "GA Late (38913)") &&
            !Contains(menus, "[x] GA Late") && !Contains(menus, "Meridane G1 Navigator"),
        "submenu refreshed", "[x] Flight Simulator GPS (38912), GA Late (38913)", menus.c_str());
    driver->PostCommand(38913);
    SimCheckU32(driver, "item 38913 selects the device it names", 1, ops->IsNavDeviceActive(late));
    SimCheckU32(driver, "that device told once", 1, late_activations);
    SimCheckU32(driver, "the device gone told nothing more", 1, gauge_activations);
    driver->OpenMenuBar();
    menus = Menus(driver);
    driver->Check(
        Contains(menus, "[x] GA Late (38913)") && !Contains(menus, "[x] Flight Simulator GPS"),
        "check mark follows the active device", "[x] GA Late (38913)", menus.c_str());
    ops->UnregisterNavDevice(late);

    // The VOR key toggles the pass-through flag, and back.
    uint32_t vor = 7;
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, 0x79 /* F10 */);
    ops->ServiceQuery(MDN_QUERY_VOR_PASS_THROUGH, &vor);
    SimCheckU32(driver, "VOR key sets pass-through", 1, vor);
    driver->PostCommand(39162);
    ops->ServiceQuery(MDN_QUERY_VOR_PASS_THROUGH, &vor);
    SimCheckU32(driver, "VOR menu item clears it", 0, vor);

    // The dump keys write their files.
    const std::string key_dump = folder + "\\MDNSERVICES_KeysDump.txt";
    DeleteFileA(key_dump.c_str());
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, 0x7B /* F12 */);
    const std::string keys = e2e::ReadFileBytes(key_dump);
    driver->Check(Contains(keys, "MDN_DUMP_KEYS=CTRL+SHIFT+F12\r\n") &&
                      Contains(keys, "MDN_NAV_DEVICE_CYCLE=CTRL+SHIFT+F9\r\n"),
                  "key dump", "the five bindings, CR LF", keys.c_str());
    const std::string traffic_dump = "C:\\dbgFsAiTfc.txt";
    const size_t before = e2e::ReadFileBytes(traffic_dump).size();
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, 0x7A /* F11 */);
    const std::string traffic = e2e::ReadFileBytes(traffic_dump);
    driver->Check(traffic.size() > before && Contains(traffic.substr(before), "aircrafts in"),
                  "traffic dump appended", "a new block", traffic.substr(before).c_str());

    // The air-data key starts the worker: the shared block starts changing.
    const double idle = AirDataTime();
    driver->PressKeys(MDN_MOD_CTRL | MDN_MOD_SHIFT, 0x77 /* F8 */);
    driver->Pump(300);
    const double running = AirDataTime();
    char got[96];
    std::snprintf(got, sizeof got, "%.3f before, %.3f after", idle, running);
    driver->Check(running > 0.0 && running != idle, "air-data block refreshed", "a new time", got);

    // About shows the module's notice in the information box.
    const uint32_t boxes = driver->BoxCount();
    driver->PostCommand(39167);
    driver->Pump(200);
    SimBox box{};
    driver->Check(driver->BoxCount() == boxes + 1 && driver->GetBox(boxes, &box) &&
                      std::strcmp(box.caption, "Meridane: Information") == 0 &&
                      Contains(box.text, "Meridane Service Module Ver. 5.3.0.1") &&
                      Contains(box.text, "Meridane service module for Flight Simulator 2004"),
                  "About box", "Meridane: Information with the notice", box.text);

    return 0;
}
