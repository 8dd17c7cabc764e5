// The scripted flight every stand-in module answers from: a climb out on a straight track
// over synthetic hills. It is a pure function of time, so each module (and a test gauge that
// links this library) computes the same values without sharing memory.
#pragma once
#include <cstdint>

namespace sim {

struct FlightState {
    double seconds;      // since the flight began (process start)
    double latitude;     // degrees, north positive
    double longitude;    // degrees, east positive
    double altitude_ft;  // above sea level
    double heading;      // true, degrees
    double ground_speed_kt;
    double vertical_speed_fpm;
    double ground_elevation_m;  // terrain below the aircraft
    int hours;                  // local time of day
    int minutes;
    double seconds_of_minute;
};

// The flight `seconds` after it began; negative times give the starting point.
FlightState FlightAt(double seconds);
// The flight now, by the shared clock.
FlightState FlightNow();

// Synthetic terrain, metres above sea level, smooth and never below 0.
double TerrainElevationMetres(double latitude, double longitude);

// The starting point and the fixed parts of the script.
constexpr double kStartLatitude = 45.0;
constexpr double kStartLongitude = 7.0;
constexpr double kTrack = 60.0;
constexpr double kGroundSpeedKt = 120.0;
constexpr double kStartAltitudeFt = 3000.0;
constexpr double kClimbFpm = 500.0;
constexpr double kLevelAltitudeFt = 4000.0;
constexpr int kStartHours = 13, kStartMinutes = 45, kStartSeconds = 30;

}  // namespace sim
