// The panel system's GPS: table word 39 finds named variable blocks, and the one it knows is
// "FS2002 GPS DATA", a fixed block with a flight plan (sim_gps.h), in the simulator's units:
// positions as 64-bit fixed-point values whose lowest 16 bits carry nothing.
#include <windows.h>

#include <cstddef>
#include <cstring>

#include "panels_table.h"
#include "runtime/simulator_layout.h"
#include "sim_gps.h"

namespace panels {
namespace {

using runtime::GpsWaypointEntry;

// The simulator's block goes on beyond what the module reads.
struct GpsDataBlock : runtime::GpsDataBlock {
    uint8_t reserved176[64];
};

constexpr double kTwo32 = 4294967296.0;

int64_t Coarse(double raw) {
    return static_cast<int64_t>(raw) & ~int64_t{0xFFFF};
}
int64_t RawLatitude(double degrees) {
    return Coarse(degrees / 90.0 * 10001750.0 * kTwo32);
}
int64_t RawLongitude(double degrees) {
    return Coarse(degrees / 360.0 * kTwo32 * kTwo32);
}

GpsWaypointEntry plan[SIM_GPS_WAYPOINTS];
GpsDataBlock block;
volatile LONG requests = 0;

const GpsDataBlock* Block() {
    if (block.size != 0)
        return &block;
    for (int i = 0; i < SIM_GPS_WAYPOINTS; ++i) {
        plan[i].latitude = RawLatitude(kSimGpsPlan[i].latitude);
        plan[i].longitude = RawLongitude(kSimGpsPlan[i].longitude);
        std::strncpy(plan[i].ident, kSimGpsPlan[i].ident, sizeof plan[i].ident - 1);
    }
    block.latitude = RawLatitude(SIM_GPS_LATITUDE);
    block.longitude = RawLongitude(SIM_GPS_LONGITUDE);
    block.altitude = Coarse(SIM_GPS_ALTITUDE_M * kTwo32);
    block.variation = SIM_GPS_VARIATION_RAD;
    block.ground_speed = SIM_GPS_GROUND_SPEED_MPS;
    block.track = SIM_GPS_TRACK_RAD;
    block.state = SIM_GPS_STATE;
    block.active_index = SIM_GPS_ACTIVE_INDEX;
    block.distance = SIM_GPS_DISTANCE_M;
    block.cross_track = SIM_GPS_CROSS_TRACK_M;
    block.desired_track = SIM_GPS_DESIRED_TRACK_RAD;
    block.waypoint_count = SIM_GPS_WAYPOINTS;
    block.waypoints = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(plan));
    block.size = sizeof block;
    return &block;
}

// Word 39: the block's address in the record's second word, 0 for a name it does not know.
void __stdcall NamedVariable(MdnVariableQuery* record, const char* name) {
    InterlockedIncrement(&requests);
    if (record == nullptr)
        return;
    const bool known = name != nullptr && std::strcmp(name, runtime::kGpsDataName) == 0;
    record->reserved4[0] = known ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(Block())) : 0;
}

const EntryRegistration named_variable(runtime::kPanelsNamedVariable,
                                       reinterpret_cast<const void*>(&NamedVariable));

}  // namespace
}  // namespace panels

extern "C" __declspec(dllexport) uint32_t __stdcall SimPanelsGpsRequests() {
    return static_cast<uint32_t>(panels::requests);
}
