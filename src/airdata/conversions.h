// The unit conversions of the air-data block. The constants are exact as the gauges expect
// them; a computation that rounds an intermediate value to single precision says so with
// Single().
#pragma once
#include <cstdint>

namespace airdata {

constexpr double kFeetPerMetre = 3.28084;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kLatitudeUnitsPerRadian = 6367279.977470828;
constexpr double kTwoToMinus24 = 5.960464477539063e-8;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kRankineAtZeroCelsius = 491.67;
constexpr double kCelsiusPerRankine = 0.5555555555555556;
constexpr double kKilogramsPerPound = 0.4535970244035199;
constexpr double kSquareFeetPerSquareInch = 0.006944444444444444;
constexpr double kPerSixteenThousand = 6.103515625e-5;  // 1 / 16384
constexpr double kPer65536 = 1.52587890625e-5;
constexpr double kPer256 = 0.00390625;

// Rounded to single precision here, before anything else is done with the value.
inline float Single(double value) {
    return static_cast<float>(value);
}

inline double TimeOfDay(double hours, double minutes, double seconds) {
    return hours * 3600.0 + minutes * 60.0 + seconds;
}

inline double LatitudeRadians(double value) {
    return value / kLatitudeUnitsPerRadian;
}

// value / 2^24 / 2^24 * 2 pi, in that order.
inline double LongitudeRadians(double value) {
    return value * kTwoToMinus24 * kTwoToMinus24 * kTwoPi;
}

inline double RankineToCelsius(double rankine) {
    return (rankine - kRankineAtZeroCelsius) * kCelsiusPerRankine;
}

// Truncation toward zero. What no 32-bit integer can hold (NaN, beyond +-2^31) gives
// 0x80000000, the value the processor's own truncating conversion produces, instead of
// undefined behaviour.
inline int32_t WholeNumber(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

}  // namespace airdata
