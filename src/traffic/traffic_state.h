// The module-wide traffic state, for the provider, the dump and their tests.
#pragma once
#include <cstdint>

#include "mdnsrv.h"
#include "runtime/simulator_layout.h"

namespace traffic {

using runtime::kTrafficInterfaceName;
using runtime::RegisteredObject;
using runtime::RegisteredObjectTable;
using runtime::TrafficInterface;
using runtime::TrafficInterfaceTable;

// Variables registered at connection, in registration order.
enum Variable : unsigned {
    kPlaneLatitude,
    kPlaneLongitude,
    kPlaneAltitude,
    kIndicatedAltitude,
    kPlaneHeading,
    kGroundVelocity,
    kVelocityWorldY,
    kAtcId,
    kEngineCombustion,
    kVariableCount
};

// Units registered after the variables, in registration order.
enum Unit : unsigned { kFeet, kBool, kDegrees, kKnots, kFeetPerMinute, kUnitCount };

constexpr uint32_t kMaxAircraft = 100;  // ids per query
constexpr uint32_t kMaxRecords = MDN_TRAFFIC_MAX;
constexpr double kRadiusMetres = 185200.0;  // 100 nautical miles
constexpr uint32_t kCacheMilliseconds = 250;

struct TrafficState {
    TrafficInterface* traffic_interface;
    uint32_t variable_ids[kVariableCount];
    uint32_t unit_ids[kUnitCount];
    uint8_t connect_pending;
    uint32_t counters[2];  // printed by the dump; nothing counts them yet
    uint32_t aircraft_ids[kMaxAircraft];
    uint32_t aircraft_id_count;
    alignas(8) MdnTrafficRecord records[kMaxRecords];
    uint32_t record_count;
    uint32_t last_refresh;  // timeGetTime of the last refresh made by GetTrafficList
};

TrafficState& State();

}  // namespace traffic
