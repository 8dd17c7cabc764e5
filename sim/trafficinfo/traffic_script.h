// The stand-in traffic module's scripted aircraft, shared with the end-to-end checks.
#pragma once
#include <cstdint>

namespace sim_traffic {

struct ScriptedAircraft {
    uint32_t id;
    double latitude;  // degrees
    double longitude;
    double heading;
    double plane_altitude;  // feet
    double indicated_altitude;
    double ground_speed;    // knots
    double vertical_speed;  // feet per minute
    double combustion;      // "ENG COMBUSTION" index 1
    const char* atc_id;     // mode 0 name
    const char* name;       // mode 1 name
};

// The user's own aircraft: the panel tokens answer this position, and the traffic list carries
// it as well, as the simulator's traffic module does.
constexpr double kOwnInternalLatitude = 5000875.0;          // token 71: 45 degrees
constexpr double kOwnInternalLongitude = 70368744177664.0;  // token 72 (2^46): 90 degrees
constexpr double kOwnAltitudeMetres = 1000.0;               // token 829
constexpr double kOwnLatitude = 45.0;
constexpr double kOwnLongitude = 90.0;

// Mode 1 keeps 0x1A2B, 0x0003, 0x0004 after SELF (the own aircraft and the navigation aid are
// left out); mode 0 keeps 0x1A2B, 0x0001, 0x0004 (the aircraft without combustion are left out).
constexpr ScriptedAircraft kAircraft[] = {
    {0x1A2B, 45.5, 90.25, 270.0, 5500.0, 5480.0, 180.0, -700.0, 1.0, "N123AB", "Skyliner 300"},
    {0x0001, kOwnLatitude, kOwnLongitude, 10.0, 3280.84, 3270.0, 0.0, 0.0, 1.0, "USER1", "Own"},
    {0x0002, 45.25, 90.5, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, "VOR1", "*fsnav beacon"},
    {0x0003, 44.75, 89.5, 90.0, 12.0, 10.0, 0.0, 0.0, 0.0, "N3PARK", "Parked Twin"},
    {0x0004, 44.5, 91.0, 180.0, 31000.0, 30950.0, 450.0, 1500.0, 1.0, "DAL1234",
     "Widebody 900 Airline Colours"},
};
constexpr unsigned kAircraftCount = sizeof kAircraft / sizeof kAircraft[0];

}  // namespace sim_traffic
