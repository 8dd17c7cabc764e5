// The nearest integer with ties to even, as the module takes it everywhere a simulator value
// is rounded: add 1.5 x 2^52 and keep the low 32 bits of the sum's double bit pattern.
#pragma once
#include <cmath>
#include <cstdint>
#include <cstring>

namespace queries {

// Low 32 bits of the nearest integer to x (ties to even). The x87 unit would add the magic
// number with a longer mantissa and round twice, so inside the range where the sum carries
// the integer in its low bits the correctly rounded integer is taken directly; outside it
// (and for NaN and infinities) the sum itself is formed, which a single rounding makes exact.
inline uint32_t NearestLow32(double x) {
    volatile double rounded_in = x;  // one rounding to double, whatever the unit's precision
    const double value = rounded_in;
    if (std::fabs(value) < 2251799813685248.0) {  // 2^51
        return static_cast<uint32_t>(static_cast<int64_t>(std::nearbyint(value)));
    }
    volatile double sum = value + 6755399441055744.0;
    const double stored = sum;
    uint64_t bits;
    std::memcpy(&bits, &stored, sizeof bits);
    return static_cast<uint32_t>(bits);
}

}  // namespace queries
