// The per-call set-up of a rotation and the loop that draws it.
#pragma once
#include <cstdint>

#include "bitmap/pixels.h"
#include "bitmap/texture.h"

namespace bitmap {

// 16.16 steps of the source walk: K1, K2 per destination column, K4, K3 per row.
struct RotationSteps {
    int32_t k1, k2, k3, k4;
    int32_t a, b;     // half sizes of the destination
    uint32_t u0, v0;  // walk position of column 0, row 0
};

// False when nothing is to be drawn: no source size, no destination pixels, a destination
// taller than the span table, an angle that is not a number.
bool ComputeRotationSteps(const Surface& src, const Surface& dst, float degrees,
                          RotationSteps* out);

// Draws rows 0 to height - 1 of the destination within their spans.
template <bool Masked>
void DrawRotation(const Surface& dst, const RotationSteps& steps, const uint32_t* spans,
                  const TextureView& texture);

}  // namespace bitmap
