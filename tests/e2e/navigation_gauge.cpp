// The panels hook in the stand-in simulator: after the link timer the panel system holds the
// 17 patch bytes and its lookup entry leads into MdnSrv.dll; a gauge that registers a device,
// becomes active and fills the state block reads its values back through the simulator's own
// lookup, while other tokens still reach the panel system. The autopilot feed and the GPS
// information record are checked once their controls answer. After the unload fs9.exe checks
// that the entry holds the panel system's lookup again.
#include <cmath>

#include "e2e_support.h"
#include "mdnsrv.h"
#include "sim_flight.h"
#include "sim_gps.h"
#include "sim_panels.h"

namespace {

using Lookup = uint32_t(MDN_STDCALL*)(MdnVariableQuery*);

int activations = 0;
void MDN_STDCALL GaugeActivated() {
    ++activations;
}

uint32_t MDN_STDCALL CustomTokens(MdnVariableQuery* query) {
    query->value.f64 = 1000.0 + (query->token - 70000);
    return 1;
}

MdnVariableQuery Ask(Lookup lookup, int32_t token) {
    MdnVariableQuery query{};
    query.token = token;
    query.value.f64 = -12345.0;
    lookup(&query);
    return query;
}

template <class F>
F Export(const SimDriver* d, const char* module, const char* name) {
    return reinterpret_cast<F>(d->StandInExport(module, name));
}

uint32_t PanelLookups(const SimDriver* d) {
    SimPanelsStats stats{};
    Export<SimPanelsGetStatsFn>(d, "PANELS.DLL", "SimPanelsGetStats")(&stats);
    return stats.lookups;
}

// Exactly the 17 bytes changed in the panel system's code region: every other byte still
// holds the region's fill, apart from the probe function and the lookup's own jump.
void CheckPatchBytes(const SimDriver* d) {
    SimPanelsStats stats{};
    Export<SimPanelsGetStatsFn>(d, "PANELS.DLL", "SimPanelsGetStats")(&stats);
    SimCheckHex(d, "patch bytes that arrived with their values", SIM_PANELS_PATCH_ALL,
                Export<SimPanelsPatchMaskFn>(d, "PANELS.DLL", "SimPanelsPatchMask")());
    const auto* region = reinterpret_cast<const uint8_t*>(stats.region);
    const uint8_t fill = region[0];
    uint32_t changed = 0;
    for (uint32_t i = 0; i < SIM_PANELS_REGION_SIZE; ++i) {
        const bool probe = i >= 0x100 && i < 0x120;
        const bool jump = i >= SIM_PANELS_LOOKUP_OFFSET && i < SIM_PANELS_LOOKUP_OFFSET + 5;
        changed += !probe && !jump && region[i] != fill;
    }
    SimCheckU32(d, "bytes changed in the panel code region", SIM_PANELS_PATCH_BYTES, changed);
}

void CheckAutopilotFeed(const SimDriver* d, const MdnOperationTable* t) {
    const double value = 0.375;
    if (t->ServiceControl(MDN_CONTROL_AUTOPILOT_DATA, &value) == 0) {
        d->Log("control 65566 is not answered by this build: autopilot feed not checked");
        return;
    }
    d->Pump(600);
    SimFlightModelState state{};
    Export<SimFlightModelGetStateFn>(d, "flight.dll", "SimFlightModelGetState")(&state);
    SimCheckHex(d, "flight-model flag word after the feed", SIM_FLIGHT_MODEL_FLAGS | 0x10,
                state.flags);
    SimCheckNear(d, "flight-model autopilot value", value, state.autopilot_value, 0.0);
    SimCheckU32(d, "flight-model object looked up", 1, state.lookups);
}

void CheckInModule(const SimDriver* d, const char* what, const void* address) {
    const bool inside = e2e::InImage(static_cast<HMODULE>(d->module), address);
    char got[64];
    std::snprintf(got, sizeof got, "0x%08lX, %s",
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(address)),
                  inside ? "inside" : "outside");
    d->Check(inside, what, "inside MdnSrv.dll", got);
}

// Pumps until a whole pass of the GPS worker has begun and ended after the simulator's last
// change, however slow the machine: a pass asks for the block once or twice, so four more
// requests than now include a whole pass begun after it.
void PumpGpsPass(const SimDriver* d) {
    const auto requests = Export<SimPanelsGpsRequestsFn>(d, "PANELS.DLL", "SimPanelsGpsRequests");
    const uint32_t before = requests();
    for (const uint32_t start = d->Now(); requests() - before < 4 && d->Now() - start < 20000;)
        d->Pump(50);
    SimCheckU32(d, "GPS worker passes after the change (4 requests or more)", 1,
                requests() - before >= 4);
}

double Radians(double degrees) {
    return degrees * 3.14159265358979323846 / 180.0;
}

void CheckGpsInformation(const SimDriver* d, const MdnOperationTable* t, const MdnGpsInfo* info) {
    if (t->ServiceControl(MDN_CONTROL_GPS_INFO_USER_ADD, nullptr) == 0) {
        d->Log("control 65636 is not answered by this build: GPS information not checked");
        return;
    }
    PumpGpsPass(d);
    SimCheckNear(d, "GPS latitude", SIM_GPS_LATITUDE, info->latitude, 1e-6);
    SimCheckNear(d, "GPS longitude (east negative)", -SIM_GPS_LONGITUDE, info->longitude, 1e-6);
    SimCheckNear(d, "GPS altitude, feet", 3000.0, info->altitude, 0.01);
    SimCheckNear(d, "GPS ground speed, knots", 120.0, info->ground_speed, 0.001);
    SimCheckNear(d, "GPS track with the variation", 58.0, info->track, 0.001);
    SimCheckNear(d, "GPS variation (sign inverted)", 2.0, info->variation, 0.001);
    SimCheckNear(d, "GPS distance to the active waypoint", 5.0, info->distance, 0.001);
    SimCheckText(d, "GPS active waypoint", "BELPA", info->active_ident);
    SimCheckU32(d, "GPS listed waypoints", SIM_GPS_WAYPOINTS - (SIM_GPS_ACTIVE_INDEX - 1),
                info->waypoint_count);
    SimCheckU32(d, "flags of the active entry", MDN_WAYPOINT_ACTIVE, info->waypoints[1].flags);
    SimCheckU32(d, "flags of the last entry", MDN_WAYPOINT_LAST, info->waypoints[4].flags);
    // Initial great-circle bearing to the active waypoint, plus the variation.
    const SimGpsWaypoint& w = kSimGpsPlan[SIM_GPS_ACTIVE_INDEX];
    const double lat1 = Radians(SIM_GPS_LATITUDE), lat2 = Radians(w.latitude);
    const double dlon = Radians(w.longitude - SIM_GPS_LONGITUDE);
    const double bearing = std::atan2(
        std::sin(dlon) * std::cos(lat2),
        std::cos(lat1) * std::sin(lat2) - std::sin(lat1) * std::cos(lat2) * std::cos(dlon));
    SimCheckNear(d, "GPS bearing to the active waypoint", bearing * 180.0 / 3.14159265358979 + 2.0,
                 info->bearing, 0.01);
    t->ServiceControl(MDN_CONTROL_GPS_INFO_USER_REMOVE, nullptr);
}

// The simulator's thread reallocates its plan and moves its block while the worker reads them
// once a second: freed pages, a count far past the array, a block gone from its address and
// that address handed to another allocation. The worker must survive all of it (a fault would
// end the process) and follow the new plan, never what the old address holds now.
void CheckPlanChanges(const SimDriver* d, const MdnOperationTable* t, const MdnGpsInfo* info) {
    const auto replan = Export<SimPanelsGpsReplanFn>(d, "PANELS.DLL", "SimPanelsGpsReplan");
    t->ServiceControl(MDN_CONTROL_GPS_INFO_USER_ADD, nullptr);
    replan(40, 0);
    PumpGpsPass(d);
    SimCheckText(d, "GPS active waypoint of a new plan", "P002 ", info->active_ident);
    SimCheckU32(d, "GPS listed waypoints of a new plan of 40", 31, info->waypoint_count);

    replan(0x7FFFFFFF, SIM_GPS_REPLAN_DANGLING);  // freed, and a count far past any array
    PumpGpsPass(d);
    SimCheckText(d, "GPS record with the plan freed under it (kept)", "P002 ", info->active_ident);

    uint32_t state = 12345;
    for (const uint32_t start = d->Now(); d->Now() - start < 2500;) {
        state = state * 1103515245u + 12345u;
        const uint32_t pick = state >> 16;
        const uint32_t move = SIM_GPS_REPLAN_MOVE_BLOCK | (pick & 8 ? SIM_GPS_REPLAN_REUSE : 0);
        replan(static_cast<int32_t>(pick % 64), pick % 5 == 0   ? SIM_GPS_REPLAN_DANGLING
                                                : pick % 5 == 1 ? move
                                                                : 0);
        d->Pump(pick % 4);
    }
    replan(12, 0);
    PumpGpsPass(d);
    SimCheckText(d, "GPS active waypoint of a plan of 12", "P002 ", info->active_ident);
    replan(0, SIM_GPS_REPLAN_MOVE_BLOCK | SIM_GPS_REPLAN_REUSE);
    PumpGpsPass(d);
    SimCheckText(d, "GPS active waypoint after the block moved", "P002 ", info->active_ident);
    SimCheckU32(d, "GPS listed waypoints of the last plan of 12", 11, info->waypoint_count);
    SimCheckU32(d, "flags of its last entry", MDN_WAYPOINT_LAST, info->waypoints[10].flags);
    t->ServiceControl(MDN_CONTROL_GPS_INFO_USER_REMOVE, nullptr);
}

}  // namespace

SIM_GAUGE_ENTRY {
    const auto* service = reinterpret_cast<const MdnServiceObject*>(
        GetProcAddress(static_cast<HMODULE>(driver->module), MDN_SERVICE_SYMBOL));
    if (service == nullptr)
        return 1;
    const MdnOperationTable* t = service->table;
    void* const* panels = driver->PanelsTable();
    SimCheckU32(driver, "ticks until linked", 1, driver->PumpUntilTicks(1, 4000));

    const auto hooked = reinterpret_cast<Lookup>(panels[40]);
    CheckInModule(driver, "panels lookup entry (word 40) after linking", panels[40]);
    CheckPatchBytes(driver);
    SimPanelsStats stats{};
    Export<SimPanelsGetStatsFn>(driver, "PANELS.DLL", "SimPanelsGetStats")(&stats);
    // The patched jump eight bytes before the lookup: the panel system's internal path.
    const auto internal = reinterpret_cast<Lookup>(stats.region + SIM_PANELS_LOOKUP_OFFSET - 8);

    const uint32_t device = t->RegisterNavDevice(&GaugeActivated, "Meridane Test GPS", "MTG");
    SimCheckU32(driver, "devices after registering", 2, t->GetNavDeviceCount());
    MdnPanelsHookState* block = t->GetPanelsHookState();
    block->enable = 1;
    block->full_enable = 1;
    block->value835 = 123.25;
    block->value40 = 12.5;
    block->switch851 = 1;
    static const char kIdent[] = "KSEA ";
    block->text839 = kIdent;

    uint32_t before = PanelLookups(driver);
    SimCheckNear(driver, "token 835 with the simulator GPS active (panel system's answer)", 0.0,
                 Ask(hooked, 835).value.f64, 0.0);
    SimCheckU32(driver, "panel lookups for it", before + 1, PanelLookups(driver));

    SimCheckU32(driver, "cycle to the gauge", 1, t->CycleNavDevice());
    SimCheckU32(driver, "gauge told it is active", 1, activations);
    before = PanelLookups(driver);
    SimCheckNear(driver, "token 835 through word 40", 123.25, Ask(hooked, 835).value.f64, 0.0);
    SimCheckNear(driver, "token 835 through the panel code", 123.25, Ask(internal, 835).value.f64,
                 0.0);
    SimCheckNear(driver, "token 40", 12.5, Ask(hooked, 40).value.f64, 0.0);
    SimCheckNear(driver, "token 49", 256.0, Ask(hooked, 49).value.f64, 0.0);
    SimCheckHex(driver, "token 839 (text address)",
                static_cast<uint32_t>(reinterpret_cast<uintptr_t>(kIdent)),
                Ask(hooked, 839).value.u32);
    SimCheckU32(driver, "panel lookups for answered tokens", before, PanelLookups(driver));
    const double latitude = Ask(internal, 71).value.f64;
    char got[32];
    std::snprintf(got, sizeof got, "%.1f", latitude);
    driver->Check(latitude > 1e6, "token 71 reaches the panel system", "its latitude", got);
    SimCheckU32(driver, "panel lookups for token 71", before + 1, PanelLookups(driver));

    const auto* info =
        reinterpret_cast<const MdnGpsInfo*>(Ask(hooked, MDN_TOKEN_GPS_INFO).value.u32);
    CheckInModule(driver, "token 66036 gives the GPS information record", info);
    const uint32_t handler = t->RegisterRangeHandler(&CustomTokens, 70000, 70010);
    SimCheckNear(driver, "custom token 70005", 1005.0, Ask(hooked, 70005).value.f64, 0.0);
    SimCheckU32(driver, "range handler removed", 1, t->UnregisterRangeHandler(handler));
    SimCheckNear(driver, "custom token without a handler", 0.0, Ask(hooked, 70005).value.f64, 0.0);
    CheckAutopilotFeed(driver, t);

    SimCheckU32(driver, "select the simulator GPS by name", 1,
                t->SelectNavDevice(0, nullptr, "GPS"));
    before = PanelLookups(driver);
    Ask(hooked, 835);
    SimCheckU32(driver, "token 835 passed on again", before + 1, PanelLookups(driver));
    CheckGpsInformation(driver, t, info);
    // Nobody uses the record now: the worker's passes ask the simulator nothing.
    const auto requests =
        Export<SimPanelsGpsRequestsFn>(driver, "PANELS.DLL", "SimPanelsGpsRequests");
    driver->Pump(100);  // a pass that began before the user left has ended
    before = requests();
    driver->Pump(2200);
    SimCheckU32(driver, "GPS data block requests while nobody uses the record", before, requests());
    CheckPlanChanges(driver, t, info);

    SimCheckU32(driver, "gauge device removed", 1, t->UnregisterNavDevice(device));
    block->enable = 0;
    return 0;
}
