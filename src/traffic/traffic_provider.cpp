// The traffic provider's connection, refresh and the gauges' cached copy (slot 23).
#include <algorithm>
#include <cstring>

#include "platform/clock.h"
#include "platform/user.h"
#include "runtime/import_table.h"
#include "runtime/module_values.h"
#include "traffic/traffic.h"
#include "traffic/traffic_state.h"
#include "runtime/address_checks.h"

namespace traffic {
namespace {

TrafficState state;

constexpr char kCaption[] = "Error";
constexpr char kNoCallback[] = "Meridane Traffic: Unable to find registered callback";
constexpr char kNoInterface[] = "Meridane Traffic: Unable to query interface ITrafficInfo";

constexpr const char* kVariableNames[kVariableCount] = {
    "PLANE LATITUDE",
    "PLANE LONGITUDE",
    "PLANE ALTITUDE",
    "INDICATED ALTITUDE",
    "PLANE HEADING DEGREES TRUE",
    "GROUND VELOCITY",
    "VELOCITY WORLD Y",
    "ATC ID",
    "ENG COMBUSTION",
};
constexpr const char* kUnitNames[kUnitCount] = {"FEET", "BOOL", "DEGREES", "KNOTS",
                                                "FEET PER MINUTE"};

void ShowConnectionError(const char* text) {
    platform::MessageBoxA(runtime::SimulatorWindow(), text, kCaption, MB_OK);
}

template <class F>
bool IsCode(F function) {
    return runtime::IsCodeAddress(reinterpret_cast<const void*>(function));
}

// Every function of the interface the provider calls lies in code.
bool Usable(const TrafficInterface* link) {
    if (!runtime::IsReadable(link, sizeof *link) ||
        !runtime::IsReadable(link->table, sizeof *link->table)) {
        return false;
    }
    const TrafficInterfaceTable& t = *link->table;
    return IsCode(t.variable_id) && IsCode(t.unit_id) && IsCode(t.aircraft_in_radius) &&
           IsCode(t.read_number) && IsCode(t.read_text) && IsCode(t.mode) &&
           IsCode(t.aircraft_name);
}

}  // namespace

TrafficState& State() {
    return state;
}

void Load() {
    state = TrafficState{};
    state.connect_pending = 1;
}

void Unload() {
    state.traffic_interface = nullptr;
    state.record_count = 0;
}

uint32_t Connect() {
    auto find = runtime::PanelsEntry<runtime::RegisteredObjectFn>(runtime::kPanelsRegisteredObject);
    auto* object = static_cast<RegisteredObject*>(find ? find(kTrafficInterfaceName) : nullptr);
    if (object == nullptr) {
        ShowConnectionError(kNoCallback);
        return 0;
    }
    // Entries that hold no code are not called: such an object or interface counts as none.
    const bool callable = runtime::IsReadable(object, sizeof *object) &&
                          runtime::IsReadable(object->table, sizeof *object->table) &&
                          IsCode(object->table->query_interface);
    state.traffic_interface =
        callable ? object->table->query_interface(object, kTrafficInterfaceName) : nullptr;
    if (state.traffic_interface != nullptr && !Usable(state.traffic_interface))
        state.traffic_interface = nullptr;
    TrafficInterface* const link = state.traffic_interface;
    if (link == nullptr) {
        ShowConnectionError(kNoInterface);
        return 0;
    }
    // The ids are the interface's own; they are passed back as they come.
    for (unsigned v = 0; v < kVariableCount; ++v) {
        state.variable_ids[v] = link->table->variable_id(link, kVariableNames[v]);
    }
    for (unsigned u = 0; u < kUnitCount; ++u) {
        state.unit_ids[u] = link->table->unit_id(link, kUnitNames[u]);
    }
    return 1;
}

void Refresh() {
    if (state.connect_pending) {
        // Cleared first: a failed connection is not retried, so its box is shown once, even
        // when a gauge asks again from the messages the box's own loop dispatches.
        state.connect_pending = 0;
        Connect();
    }
    TrafficInterface* const link = state.traffic_interface;
    if (link == nullptr) {
        state.aircraft_id_count = 0;
    } else {
        const int32_t count = link->table->aircraft_in_radius(
            link, kRadiusMetres, static_cast<int32_t>(kMaxAircraft), state.aircraft_ids);
        // An answer past what was asked for (or negative) must not walk off the id array.
        state.aircraft_id_count =
            count < 0 ? 0u : std::min(static_cast<uint32_t>(count), kMaxAircraft);
    }
    Snapshot();
}

uint32_t MDN_STDCALL GetTrafficList(MdnTrafficRecord* records) {
    if (records == nullptr)
        return 0;
    const DWORD now = platform::timeGetTime();
    // Unsigned difference: still right across the clock's wrap.
    if (static_cast<uint32_t>(now - state.last_refresh) > kCacheMilliseconds) {
        Refresh();
        state.last_refresh = now;
    }
    std::memcpy(records, state.records, state.record_count * sizeof(MdnTrafficRecord));
    return state.record_count;
}

}  // namespace traffic
