#include "flight_script.h"

#include <cmath>

#include "sim_clock.h"

namespace sim {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRadians = kPi / 180.0;

}  // namespace

double TerrainElevationMetres(double latitude, double longitude) {
    const double hills = 250.0 * std::sin(latitude * 40.0 * kRadians * 10.0) *
                         std::cos(longitude * 30.0 * kRadians * 10.0);
    const double ridges = 120.0 * std::sin((latitude + longitude) * 90.0 * kRadians * 10.0);
    const double height = 420.0 + hills + ridges;
    return height > 0.0 ? height : 0.0;
}

FlightState FlightAt(double seconds) {
    const double t = seconds > 0.0 ? seconds : 0.0;
    FlightState s{};
    s.seconds = t;
    s.heading = kTrack;
    s.ground_speed_kt = kGroundSpeedKt;
    // Flat-earth advance along the track: one nautical mile is one minute of latitude.
    const double distance_nm = kGroundSpeedKt * t / 3600.0;
    s.latitude = kStartLatitude + distance_nm * std::cos(kTrack * kRadians) / 60.0;
    s.longitude = kStartLongitude + distance_nm * std::sin(kTrack * kRadians) /
                                        (60.0 * std::cos(kStartLatitude * kRadians));
    const double climb_seconds = (kLevelAltitudeFt - kStartAltitudeFt) / kClimbFpm * 60.0;
    if (t < climb_seconds) {
        s.altitude_ft = kStartAltitudeFt + kClimbFpm * t / 60.0;
        s.vertical_speed_fpm = kClimbFpm;
    } else {
        s.altitude_ft = kLevelAltitudeFt;
        s.vertical_speed_fpm = 0.0;
    }
    s.ground_elevation_m = TerrainElevationMetres(s.latitude, s.longitude);
    const double of_day = kStartHours * 3600.0 + kStartMinutes * 60.0 + kStartSeconds + t;
    const double wrapped = std::fmod(of_day, 86400.0);
    s.hours = static_cast<int>(wrapped / 3600.0);
    s.minutes = static_cast<int>((wrapped - s.hours * 3600.0) / 60.0);
    s.seconds_of_minute = wrapped - s.hours * 3600.0 - s.minutes * 60.0;
    return s;
}

FlightState FlightNow() {
    return FlightAt(ElapsedMs() / 1000.0);
}

}  // namespace sim
