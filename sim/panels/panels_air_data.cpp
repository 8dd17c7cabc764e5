// The panel variables and aircraft variables the air-data computer reads, beyond the flight's
// time and position (panels_flight_tokens.cpp): engine, radio and air values that stay put,
// and the vertical speed, height and ground speed that follow the scripted flight. Table
// words 73 (unit id of a unit name) and 75 (aircraft variable) are answered here.
#include <cstring>

#include "flight_script.h"
#include "panels_table.h"

namespace panels {
namespace {

constexpr int32_t kFeet = 1;
constexpr int32_t kKnots = 2;
constexpr double kFeetPerMetre = 3.28084;

struct Steady {
    int32_t token;
    double value;
};
// Values chosen so that each published field comes out as a round number of its own.
constexpr Steady kSteady[] = {
    {60, -2.7},    {64, 32768.0}, {86, 123.456}, {82, 55.5},    {77, 12.5},    {79, 7.25},
    {551, 100.0},  {552, 200.0},  {553, 300.0},  {351, 1248.0}, {350, 3.5},    {341, 0.125},
    {604, 604.5},  {67, 9.99},    {69, 254.0},   {849, 849.25}, {850, 850.75}, {624, 85.0},
    {643, 42.0},   {136, 8192.0}, {171, 4096.0}, {567, 671.67}, {577, 491.67}, {628, 220.46},
    {647, 110.23}, {561, 581.67}, {571, 536.67}, {633, 633.5},  {652, 652.5},  {562, 2880.0},
    {572, 1440.0},
};

// Radio frequencies as four decimal digits: 122.275 and 111.85 MHz.
constexpr uint32_t kCom1Digits = 0x2227;
constexpr uint32_t kCom2Digits = 0x1185;

bool Answer(int32_t token, MdnVariableQuery* query) {
    if (token == 23 || token == 870) {
        query->value.f64 = 0.0;
        query->value.u32 = token == 23 ? kCom1Digits : kCom2Digits;
        return true;
    }
    if (token == 556) {  // vertical speed, feet per second
        query->value.f64 = sim::FlightNow().vertical_speed_fpm / 60.0;
        return true;
    }
    for (const Steady& s : kSteady) {
        if (s.token == token) {
            query->value.f64 = s.value;
            return true;
        }
    }
    return false;
}

const TokenSource air_data_tokens("air data", &Answer);

int32_t __stdcall UnitId(const char* name) {
    if (name == nullptr)
        return -1;
    if (std::strcmp(name, "feet") == 0)
        return kFeet;
    if (std::strcmp(name, "knots") == 0)
        return kKnots;
    return -1;
}

// Variable 57: height above the terrain in feet; 25: ground speed; 24: ground speed less
// 1.5 knots. Anything else, or another unit, reads 0.0.
double __stdcall AircraftVariable(int32_t variable, int32_t unit, int32_t index) {
    if (index != 0)
        return 0.0;
    const sim::FlightState flight = sim::FlightNow();
    if (variable == 57 && unit == kFeet)
        return flight.altitude_ft - flight.ground_elevation_m * kFeetPerMetre;
    if (variable == 25 && unit == kKnots)
        return flight.ground_speed_kt;
    if (variable == 24 && unit == kKnots)
        return flight.ground_speed_kt - 1.5;
    return 0.0;
}

const EntryRegistration unit_id(73, reinterpret_cast<const void*>(&UnitId));
const EntryRegistration aircraft_variable(75, reinterpret_cast<const void*>(&AircraftVariable));

}  // namespace
}  // namespace panels
