// The rotation's pixel loop. Per pixel: the walk's two additions, the four 32-bit spread
// forms and three blends; no division, no floating point, no branch but the loop's. With SSE2
// four pixels at a time and the last few of a span one by one; without it all one by one.
#include "bitmap/rotation_steps.h"
#include "bitmap/span_table.h"
#include "bitmap/sse2_loops.h"

namespace bitmap {
namespace {

template <bool Masked>
uint16_t Pixel(const TextureView& t, uint32_t u, uint32_t v) {
    const uint32_t x = (u >> 16) & 255, y = (v >> 16) & 255;
    const auto* p = reinterpret_cast<const uint8_t*>(t.base + TexelOffset(t, x, y));
    const uint32_t fx = (u >> 11) & 31, fy = (v >> 11) & 31;
    const uint32_t top = Blend(Spread(p), Spread(p + 2), fx) & kSpreadMask;
    const uint32_t bottom =
        Blend(Spread(p + kTexturePitch), Spread(p + kTexturePitch + 2), fx) & kSpreadMask;
    const uint16_t pixel = Fold(Blend(top, bottom, fy) & kSpreadMask);
    return Masked ? static_cast<uint16_t>(pixel | kMaskBit) : pixel;
}

template <bool Masked>
void DrawSpan(uint8_t* out, int32_t count, uint32_t u, uint32_t v, uint32_t k1, uint32_t k2,
              const TextureView& t, bool sse2) {
    if (sse2) {
        const int32_t drawn = DrawSpanSse2<Masked>(out, count, u, v, k1, k2, t);
        count -= drawn;
        out += 2 * drawn;
        u += static_cast<uint32_t>(drawn) * k1;
        v -= static_cast<uint32_t>(drawn) * k2;
    }
    for (; count > 0; --count, out += 2) {
        Store16(out, Pixel<Masked>(t, u, v));
        u += k1;
        v -= k2;
    }
}

}  // namespace

template <bool Masked>
void DrawRotation(const Surface& dst, const RotationSteps& steps, const uint32_t* spans,
                  const TextureView& texture) {
    const auto k1 = static_cast<uint32_t>(steps.k1), k2 = static_cast<uint32_t>(steps.k2);
    const auto k3 = static_cast<uint32_t>(steps.k3), k4 = static_cast<uint32_t>(steps.k4);
    const bool sse2 = Sse2Loops();
    uint32_t u_row = steps.u0, v_row = steps.v0;
    for (int32_t r = 0; r < dst.height; ++r) {
        const int32_t left = SpanLeft(spans[r]);
        const int32_t right = SpanRight(spans[r]);
        const auto l = static_cast<uint32_t>(left);
        // A negative pitch walks the rows backwards through memory (a bottom-up surface).
        uint8_t* line = dst.pixels + static_cast<ptrdiff_t>(r) * dst.pitch;
        DrawSpan<Masked>(line + 2 * left, right - left, u_row + l * k1, v_row - l * k2, k1, k2,
                         texture, sse2);
        u_row += k4;
        v_row += k3;
    }
}

template void DrawRotation<false>(const Surface&, const RotationSteps&, const uint32_t*,
                                  const TextureView&);
template void DrawRotation<true>(const Surface&, const RotationSteps&, const uint32_t*,
                                 const TextureView&);

}  // namespace bitmap
