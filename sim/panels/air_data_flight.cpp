#include "air_data_flight.h"

#include <cstring>

namespace sim {
namespace {

constexpr int32_t kFeet = 1;
constexpr int32_t kKnots = 2;

// The radio digits cycle through four frequencies: 122.275, 122.25, 122.2 and 111.8 MHz.
constexpr uint32_t kComDigits[] = {0x2227, 0x2225, 0x2221, 0x1180};

struct Constant {
    int32_t token;
    double value;
};
// Values that stay put for the whole flight.
constexpr Constant kConstants[] = {
    {2, 102400.0},  // ground elevation 400 m, in 1/256 m
    {64, 32768.0}, {86, 123.456}, {82, 55.5},    {77, 12.5},    {79, 7.25},    {551, 100.0},
    {552, 200.0},  {553, 300.0},  {556, 10.5},   {351, 1248.0}, {350, 3.5},    {341, 0.125},
    {604, 604.5},  {67, 9.99},    {69, 254.0},   {849, 849.25}, {850, 850.75}, {624, 85.0},
    {643, 42.0},   {136, 8192.0}, {171, 4096.0}, {567, 671.67}, {577, 491.67}, {628, 220.46},
    {647, 110.23}, {561, 581.67}, {571, 536.67}, {633, 633.5},  {652, 652.5},  {562, 2880.0},
    {572, 1440.0},
};

double AltitudeMetres(uint32_t second) {
    return 1000.0 + 5.0 * second;
}

}  // namespace

bool AnswerAirDataToken(MdnVariableQuery* record, uint32_t second) {
    const uint32_t clock = 49530 + second;  // 13:45:30 when the flight begins
    double value;
    switch (record->token) {
        case 6:
            value = clock / 3600 % 24;
            break;
        case 7:
            value = clock / 60 % 60;
            break;
        case 5:
            value = clock % 60;
            break;
        case 71:
            value = 5000875.0 + 100.0 * second;
            break;  // northwards from 45 degrees
        case 72:
            value = 0x1p46 + 0x1p32 * second;
            break;  // eastwards from 90 degrees
        case 73:
            value = AltitudeMetres(second);
            break;  // climbing 5 m a second
        case 60:
            value = second % 2 == 0 ? -2.7 : 2.7;
            break;
        case 23:
        case 870:
            record->value.f64 = 0;
            record->value.u32 = kComDigits[(second + (record->token == 870 ? 1 : 0)) % 4];
            return true;
        default: {
            const Constant* found = nullptr;
            for (const Constant& c : kConstants) {
                if (c.token == record->token)
                    found = &c;
            }
            if (found == nullptr)
                return false;
            value = found->value;
        }
    }
    record->value.f64 = value;
    return true;
}

int32_t AirDataUnitId(const char* name) {
    if (name == nullptr)
        return -1;
    if (std::strcmp(name, "feet") == 0)
        return kFeet;
    if (std::strcmp(name, "knots") == 0)
        return kKnots;
    return -1;
}

bool AnswerAircraftVariable(int32_t variable, int32_t unit, uint32_t second, double* value) {
    if (variable == 57 && unit == kFeet) {
        *value = AltitudeMetres(second) * 3.28084 - 1312.336;  // height above 400 m ground
    } else if (variable == 25 && unit == kKnots) {
        *value = 120.25 + second;  // gaining a knot a second
    } else if (variable == 24 && unit == kKnots) {
        *value = 118.75;
    } else {
        return false;
    }
    return true;
}

}  // namespace sim
