// The panel system's GPS: table word 39 finds named variable blocks, and the one it knows is
// "FS2002 GPS DATA", a fixed block with a flight plan (sim_gps.h), in the simulator's units:
// positions as 64-bit fixed-point values whose lowest 16 bits carry nothing.
#include <windows.h>

#include <cstddef>
#include <cstdio>
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

// The block and its plan live in pages of their own, as the simulator's reallocated ones
// may: once freed, they cannot be read. A plan ends where its pages end.
GpsDataBlock* block = nullptr;
GpsWaypointEntry* plan = nullptr;
// The pages a moved block left to another allocation; released when the next move reuses.
void* reused = nullptr;
volatile LONG requests = 0;

template <class T>
T* Allocate(size_t count) {
    const size_t size = count * sizeof(T);
    const size_t pages = (size + 4095) / 4096;
    char* base = static_cast<char*>(VirtualAlloc(nullptr, pages == 0 ? 4096 : pages * 4096,
                                                 MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    return base == nullptr ? nullptr : reinterpret_cast<T*>(base + pages * 4096 - size);
}
void Release(const void* at) {
    MEMORY_BASIC_INFORMATION info;
    if (at != nullptr && VirtualQuery(at, &info, sizeof info) == sizeof info)
        VirtualFree(info.AllocationBase, 0, MEM_RELEASE);
}

void FillPlan(GpsWaypointEntry* entries, int32_t count, bool original) {
    for (int32_t i = 0; i < count; ++i) {
        GpsWaypointEntry& e = entries[i];
        std::memset(&e, 0, sizeof e);
        if (original) {
            e.latitude = RawLatitude(kSimGpsPlan[i].latitude);
            e.longitude = RawLongitude(kSimGpsPlan[i].longitude);
            std::strncpy(e.ident, kSimGpsPlan[i].ident, sizeof e.ident - 1);
        } else {
            e.latitude = RawLatitude(SIM_GPS_LATITUDE + 0.1 * i);
            e.longitude = RawLongitude(SIM_GPS_LONGITUDE + 0.1 * i);
            std::snprintf(e.ident, sizeof e.ident, SIM_GPS_REPLAN_IDENT,
                          static_cast<int>(i % 1000));
        }
    }
}

const GpsDataBlock* Block() {
    if (block != nullptr)
        return block;
    plan = Allocate<GpsWaypointEntry>(SIM_GPS_WAYPOINTS);
    GpsDataBlock* b = Allocate<GpsDataBlock>(1);
    if (plan == nullptr || b == nullptr)
        return nullptr;
    FillPlan(plan, SIM_GPS_WAYPOINTS, true);
    b->latitude = RawLatitude(SIM_GPS_LATITUDE);
    b->longitude = RawLongitude(SIM_GPS_LONGITUDE);
    b->altitude = Coarse(SIM_GPS_ALTITUDE_M * kTwo32);
    b->variation = SIM_GPS_VARIATION_RAD;
    b->ground_speed = SIM_GPS_GROUND_SPEED_MPS;
    b->track = SIM_GPS_TRACK_RAD;
    b->state = SIM_GPS_STATE;
    b->active_index = SIM_GPS_ACTIVE_INDEX;
    b->distance = SIM_GPS_DISTANCE_M;
    b->cross_track = SIM_GPS_CROSS_TRACK_M;
    b->desired_track = SIM_GPS_DESIRED_TRACK_RAD;
    b->waypoint_count = SIM_GPS_WAYPOINTS;
    b->waypoints = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(plan));
    b->size = sizeof *b;
    block = b;
    return block;
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

// The simulator's thread changing its plan while the module's worker reads it (sim_gps.h).
extern "C" __declspec(dllexport) void __stdcall SimPanelsGpsReplan(int32_t count, uint32_t how) {
    if (panels::Block() == nullptr)
        return;
    using panels::block;
    using panels::plan;
    if (how & SIM_GPS_REPLAN_MOVE_BLOCK) {
        panels::GpsDataBlock* moved = panels::Allocate<panels::GpsDataBlock>(1);
        if (moved == nullptr)
            return;
        std::memcpy(moved, block, sizeof *moved);
        panels::GpsDataBlock* old = block;
        block = moved;
        if ((how & SIM_GPS_REPLAN_REUSE) == 0) {
            panels::Release(old);
            return;
        }
        panels::Release(panels::reused);
        std::memset(old, 0, sizeof *old);
        old->size = 4096;
        panels::reused = old;
        return;
    }
    panels::Release(plan);
    plan = nullptr;
    if (how & SIM_GPS_REPLAN_DANGLING) {  // freed, the block not yet told
        block->waypoint_count = count;
        return;
    }
    const int32_t n = count < 0 ? 0 : count > 4096 ? 4096 : count;
    plan = panels::Allocate<panels::GpsWaypointEntry>(static_cast<size_t>(n));
    if (plan != nullptr)
        panels::FillPlan(plan, n, false);
    block->waypoints = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(plan));
    block->waypoint_count = plan != nullptr ? n : 0;
}
