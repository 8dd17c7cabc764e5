// The ease table of scaling filter 3: weights that ease in and out of each source pixel.
#include <cmath>
#include <numbers>

#include "bitmap/bitmap.h"
#include "bitmap/pixels.h"

namespace bitmap {
namespace {

int32_t ease[32];

}  // namespace

void BuildEaseTable() {
    // t grows by a constant step rather than being i / 31, as the table was always made.
    double t = 0.0;
    for (int i = 0; i < 32; ++i) {
        ease[i] =
            static_cast<int32_t>(std::floor((1.0 - std::cos(t * std::numbers::pi)) * 0.5 * 31.5));
        t += 0.03225806451612903;
    }
}

const int32_t* EaseTable() {
    return ease;
}

}  // namespace bitmap
