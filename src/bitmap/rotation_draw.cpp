// The rotation's pixel loop: per pixel two additions, four 32-bit reads and three blends.
#include "bitmap/rotation_steps.h"
#include "bitmap/span_table.h"

namespace bitmap {
namespace {

template <bool Masked>
void DrawSpan(uint8_t* out, int32_t count, uint32_t u, uint32_t v, uint32_t k1, uint32_t k2,
              const uintptr_t* row) {
    for (; count > 0; --count) {
        const uint32_t x = (u >> 16) & 255;
        const auto* p = reinterpret_cast<const uint8_t*>(row[TextureRowIndex(x, v)] + 2 * x);
        const uint32_t fx = (u >> 11) & 31;
        const uint32_t fy = (v >> 11) & 31;
        const uint32_t top = Blend(Spread(p), Spread(p + 2), fx) & kSpreadMask;
        const uint32_t bottom =
            Blend(Spread(p + kTexturePitch), Spread(p + kTexturePitch + 2), fx) & kSpreadMask;
        uint16_t pixel = Fold(Blend(top, bottom, fy) & kSpreadMask);
        if constexpr (Masked)
            pixel |= kMaskBit;
        Store16(out, pixel);
        out += 2;
        u += k1;
        v -= k2;
    }
}

}  // namespace

template <bool Masked>
void DrawRotation(const Surface& dst, const RotationSteps& steps, const uint32_t* spans,
                  const TextureRows& rows) {
    const auto k1 = static_cast<uint32_t>(steps.k1), k2 = static_cast<uint32_t>(steps.k2);
    const auto k3 = static_cast<uint32_t>(steps.k3), k4 = static_cast<uint32_t>(steps.k4);
    uint32_t u_row = steps.u0, v_row = steps.v0;
    for (int32_t r = 0; r < dst.height; ++r) {
        const int32_t left = SpanLeft(spans[r]);
        const int32_t right = SpanRight(spans[r]);
        const auto l = static_cast<uint32_t>(left);
        uint8_t* line = dst.pixels + static_cast<ptrdiff_t>(r) * dst.pitch;
        DrawSpan<Masked>(line + 2 * left, right - left, u_row + l * k1, v_row - l * k2, k1, k2,
                         rows.row);
        u_row += k4;
        v_row += k3;
    }
}

template void DrawRotation<false>(const Surface&, const RotationSteps&, const uint32_t*,
                                  const TextureRows&);
template void DrawRotation<true>(const Surface&, const RotationSteps&, const uint32_t*,
                                 const TextureRows&);

}  // namespace bitmap
