// Panel variables of the scripted flight: time of day, position and height. The units are
// the panel system's: latitude 10001750 units to 90 degrees, longitude 2^48 units to 360
// degrees, altitude in metres, ground elevation in 1/256 metre.
#include "flight_script.h"
#include "panels_table.h"

namespace panels {
namespace {

constexpr double kLatitudeUnitsPerDegree = 10001750.0 / 90.0;
constexpr double kLongitudeUnitsPerDegree = 281474976710656.0 / 360.0;  // 2^48 / 360
constexpr double kFeetToMetres = 0.3048;

bool Answer(int32_t token, MdnVariableQuery* query) {
    const sim::FlightState flight = sim::FlightNow();
    double value;
    switch (token) {
        case 2:
            value = flight.ground_elevation_m * 256.0;
            break;
        case 5:
            value = flight.seconds_of_minute;
            break;
        case 6:
            value = flight.hours;
            break;
        case 7:
            value = flight.minutes;
            break;
        case 71:
            value = flight.latitude * kLatitudeUnitsPerDegree;
            break;
        case 72:
            value = flight.longitude * kLongitudeUnitsPerDegree;
            break;
        case 73:
            value = flight.altitude_ft * kFeetToMetres;
            break;
        default:
            return false;
    }
    query->value.f64 = value;
    return true;
}

const TokenSource flight_tokens("flight", &Answer);

}  // namespace
}  // namespace panels
