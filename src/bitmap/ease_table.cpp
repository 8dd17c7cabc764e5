// The ease table of scaling filter 3: weights that ease in and out of each source pixel.
#include <cmath>
#include <numbers>

#include "bitmap/ieee_doubles.h"
#include "bitmap/pixels.h"

namespace bitmap {
namespace {

int32_t ease[32];

}  // namespace

// Called inside an IeeeDoubles scope. Each entry lies at least 0.02 from the next integer
// (entry 0 is exactly 0), so the floors would not move by a last bit of cos either.
[[gnu::noinline]] void ComputeEaseTable() {
    // t grows by a constant step rather than being i / 31, as the table was always made.
    double t = 0.0;
    for (int i = 0; i < 32; ++i) {
        const double c = RoundToDouble(std::cos(t * std::numbers::pi));
        ease[i] = static_cast<int32_t>(std::floor((1.0 - c) * 0.5 * 31.5));
        t += 0.03225806451612903;
    }
}

const int32_t* EaseTable() {
    return ease;
}

}  // namespace bitmap
