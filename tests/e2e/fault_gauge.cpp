// The module in surroundings with something wrong (a stand-in module missing, without its
// export or with a non-code entry; the settings file missing, a directory or unreadable; a
// dump file that cannot be written; the shared-memory name taken; the registry key closed):
// it keeps running, shows exactly the boxes the case calls for, and every subsystem the
// fault does not touch keeps working. The faults are made by fs9.exe's options, by the test's
// simulator folder, or by this gauge (fault_setup.cpp) before it loads the module itself.
//
// Settings (defaults in brackets): load=self (the gauge loads the module) [fs9.exe does];
// boxes=N [0] and box1, box2...: text each box must contain; inert=1 when the version is
// refused [0]; linked [1]; bound: the settings file binds the own commands [1]; folder: the
// simulator folder (for the keys dump); traffic: aircraft arrive [1]; position, elevation,
// gain: those internals answer [1]; autopilot: the flight model receives the feed [1];
// keysdump, trafficdump: the dump is written [1]; airdata: the block is published where this
// gauge can see it [1]; skip=simulator_lookup when the simulator's own lookup is broken.
#include <cstdlib>
#include <string>

#include "fault_setup.h"
#include "sim_flight.h"
#include "soak_support.h"

namespace {

const SimDriver* d = nullptr;
const MdnOperationTable* ops = nullptr;

bool Flag(const char* key, bool fallback) {
    const char* value = d->Setting(key);
    return value ? std::strcmp(value, "1") == 0 : fallback;
}

uint32_t taken = 0;
uint32_t client = 0;
void MDN_STDCALL OnKeys() {
    while (ops->NextKeyEvent(client, nullptr, nullptr) == 1)
        ++taken;
}
void MDN_STDCALL OnDevice() {}

void CheckKeyboard() {
    client = ops->RegisterKeyClient(&OnKeys);
    char key[] = "ctrl+shift+f6";
    const uint32_t id = ops->BindKeyCommand(client, "FAULT_CHECK_KEY", key) & 0xFFFF;
    SimCheckU32(d, "keyboard: client enabled", 1, ops->EnableKeyClient(client));
    SimCheckU32(d, "keyboard: command fired", 1, id ? ops->FireKeyCommand(id) : 0);
    SimCheckU32(d, "keyboard: command taken", 1, taken);
    ops->UnregisterKeyClient(client);
}

void CheckOwnCommands(bool bound) {
    const char* names[] = {"MDN_NAV_DEVICE_CYCLE", "MDN_SIMPLE_VOR_COMPATIBILITY", "MDN_DUMP_TFC",
                           "MDN_DUMP_KEYS", "MDN_ADC_START"};
    uint32_t found = 0;
    for (const char* name : names)
        found += (ops->FindKeyCommand(name) & 0xFFFF) != 0;
    SimCheckU32(d, "own commands bound from the settings file", bound ? 5 : 0, found);
}

uint32_t Fire(const char* name) {
    const uint32_t id = ops->FindKeyCommand(name) & 0xFFFF;
    return id ? ops->FireKeyCommand(id) : 0;
}

void CheckDumps() {
    const std::string folder = e2e::SettingOr(d, "folder", "");
    const std::string keys = folder + "\\MDNSERVICES_KeysDump.txt";
    DeleteFileA(keys.c_str());
    SimCheckU32(d, "keys dump command delivered", 1, Fire("MDN_DUMP_KEYS"));
    const DWORD attributes = GetFileAttributesA(keys.c_str());
    const bool written =
        attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    SimCheckU32(d, "keys dump written", Flag("keysdump", true), written);

    const uint64_t before = fault::TrafficDumpSize();
    SimCheckU32(d, "traffic dump command delivered", 1, Fire("MDN_DUMP_TFC"));
    SimCheckU32(d, "traffic dump appended", Flag("trafficdump", true),
                fault::TrafficDumpSize() > before);
}

void CheckNavigation(bool inert) {
    const uint32_t device = ops->RegisterNavDevice(&OnDevice, "Fault Device", "FLT");
    SimCheckU32(d, "navigation: device registered", 1, device != 0);
    SimCheckU32(d, "navigation: devices", inert ? 1 : 2, ops->GetNavDeviceCount());
    SimCheckU32(d, "navigation: device selected", 1,
                ops->SelectNavDevice(device, nullptr, nullptr));

    // Autopilot feed while the gauge is active: written into the flight model when there is
    // one to write into.
    const double value = 1234.5;
    SimCheckU32(d, "autopilot feed accepted", 1,
                ops->ServiceControl(MDN_CONTROL_AUTOPILOT_DATA, &value));
    d->Pump(400);
    const auto state = reinterpret_cast<SimFlightModelGetStateFn>(
        d->StandInExport("flight.dll", "SimFlightModelGetState"));
    SimFlightModelState model{};
    if (state)
        state(&model);
    SimCheckU32(d, "autopilot value in the flight model", Flag("autopilot", true),
                model.autopilot_value == value);
    ops->UnregisterNavDevice(device);
}

void CheckQueries() {
    uint32_t version = 0;
    ops->ServiceQuery(MDN_QUERY_VERSION, &version);
    SimCheckHex(d, "version query", MDN_VERSION_PACKED, version);
    float angle[3] = {47.5f, -122.25f, -999.0f};
    ops->ServiceQuery(MDN_QUERY_POSITION_ANGLE, angle);
    SimCheckU32(d, "position angle answered", Flag("position", true), angle[2] != -999.0f);
    double elevation[3] = {47.5, -122.25, -12345.0};
    ops->ServiceQuery(MDN_QUERY_ELEVATION, elevation);
    SimCheckU32(d, "elevation answered", Flag("elevation", true), elevation[2] != -12345.0);
    MdnGainPair gains[MDN_GAIN_ENTRIES];
    for (MdnGainPair& pair : gains)
        pair.gain = -1.0f;
    ops->ServiceQuery(MDN_QUERY_GAIN_TABLE, gains);
    SimCheckU32(d, "gain table answered", Flag("gain", true), gains[1].gain != -1.0f);
    const uint32_t set = (1u << 16) | 50u;
    ops->ServiceControl(MDN_CONTROL_SET_GAIN, &set);  // through the gain setter, when there is one
}

void CheckTraffic() {
    MdnTrafficRecord records[MDN_TRAFFIC_MAX];
    const uint32_t first = ops->GetTrafficList(records);
    SimCheckU32(d, "traffic: aircraft arrive", Flag("traffic", true), first > 0);
}

void CheckBitmaps() {
    void* buffer = ops->AcquireWorkBuffer(4096, 16);
    SimCheckU32(d, "work buffer", 1, buffer != nullptr);
    uint16_t source_pixels[16 * 16], target_pixels[32 * 32] = {};
    for (int i = 0; i < 16 * 16; ++i)
        source_pixels[i] = static_cast<uint16_t>(i * 37);
    const MdnSurface source{source_pixels, 16, 16, 32};
    const MdnSurface target{target_pixels, 32, 32, 64};
    ops->StretchBitmap(&source, &target, MDN_FILTER_BILINEAR);
    uint32_t drawn = 0;
    for (uint16_t p : target_pixels)
        drawn += p != 0;
    SimCheckU32(d, "bitmap scaled", 1, drawn > 0);
    ops->ReleaseWorkBuffer(buffer);
}

// Linked: two workers start at the first tick of the link timer (every 2000 ms), and the
// panels hook answers the module's own token.
void CheckLink(bool inert, uint32_t threads_before) {
    const bool linked = Flag("linked", !inert);
    const uint32_t until = d->Now() + (linked ? 3000 : 4500);
    while (d->Now() < until && d->ThreadCount() < threads_before + 2)
        d->Pump(50);
    SimCheckU32(d, linked ? "workers started by the link" : "no workers while not linked",
                linked ? threads_before + 2 : threads_before, d->ThreadCount());
    void* const* table = d->PanelsTable();
    if (linked && table) {
        MdnVariableQuery query{};
        query.token = MDN_TOKEN_GPS_INFO;
        reinterpret_cast<uint32_t(MDN_STDCALL*)(MdnVariableQuery*)>(table[40])(&query);
        uint32_t record = 0;
        ops->ServiceQuery(MDN_QUERY_GPS_INFO, &record);
        SimCheckHex(d, "panels hook answers its own token", record, query.value.u32);
    }
}

void CheckAirData(bool bound) {
    if (!bound)
        return;
    const uint32_t threads = d->ThreadCount();
    SimCheckU32(d, "air-data start delivered", 1, Fire("MDN_ADC_START"));
    d->Pump(300);
    SimCheckU32(d, "air-data worker running", threads + 1, d->ThreadCount());
    SimCheckU32(d, "air-data block published where a reader sees it", Flag("airdata", true),
                fault::AirDataPublished());
}

void CheckBoxes() {
    const char* expected = d->Setting("boxes");
    const uint32_t count = expected ? static_cast<uint32_t>(std::atoi(expected)) : 0;
    SimCheckU32(d, "message boxes shown", count, d->BoxCount());
    for (uint32_t i = 0; i < count; ++i) {
        char key[16];
        std::snprintf(key, sizeof key, "box%lu", static_cast<unsigned long>(i + 1));
        const char* text = d->Setting(key);
        SimBox box{};
        d->GetBox(i, &box);
        char what[64];
        std::snprintf(what, sizeof what, "box %lu text", static_cast<unsigned long>(i + 1));
        d->Check(text && std::strstr(box.text, text) != nullptr, what, text ? text : "(none)",
                 box.text);
    }
}

}  // namespace

SIM_GAUGE_ENTRY {
    d = driver;
    const bool self = std::strcmp(e2e::SettingOr(d, "load", ""), "self") == 0;
    fault::BeforeModule(d);
    HMODULE module = self ? soak::LoadModule(d) : static_cast<HMODULE>(d->module);
    fault::AfterModuleLoaded(d);
    ops = soak::Operations(module);
    if (ops == nullptr)
        return d->Check(0, "module loaded", "its operation table", "none"), 0;
    const bool inert = Flag("inert", false);
    const bool bound = Flag("bound", true);
    const uint32_t threads = d->ThreadCount();

    CheckLink(inert, threads);
    CheckKeyboard();
    CheckOwnCommands(bound);
    CheckNavigation(inert);
    CheckQueries();
    // With the simulator's own lookup broken, whatever calls it (the traffic snapshot's own
    // aircraft, the air-data worker) would fail inside the simulator: left out.
    const bool lookup_broken = std::strcmp(e2e::SettingOr(d, "skip", ""), "simulator_lookup") == 0;
    if (!lookup_broken)
        CheckTraffic();
    CheckBitmaps();
    if (bound && !lookup_broken)
        CheckDumps();
    if (!lookup_broken)
        CheckAirData(bound);
    CheckBoxes();

    if (self)
        SimCheckU32(d, "module unloaded", 1, soak::UnloadModule(module));
    fault::AfterTest(d);
    return 0;
}
