// The rotation's pixel loop. Per pixel: the walk's two additions, the four 32-bit spread
// forms (read as two 8-byte rows) and three blends; no division, no floating point, no
// branch but the loop's. Four pixels at a time with SSE2, the last few of a row one by one.
#include "bitmap/blend_sse2.h"
#include "bitmap/rotation_steps.h"
#include "bitmap/span_table.h"

namespace bitmap {
namespace {

// One pixel with 32-bit spread forms: the last few pixels of a row.
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
              const TextureView& t) {
    using namespace sse2;
    if (count >= 4) {
        __m128i us = _mm_setr_epi32(static_cast<int>(u), static_cast<int>(u + k1),
                                    static_cast<int>(u + 2 * k1), static_cast<int>(u + 3 * k1));
        __m128i vs = _mm_setr_epi32(static_cast<int>(v), static_cast<int>(v - k2),
                                    static_cast<int>(v - 2 * k2), static_cast<int>(v - 3 * k2));
        const __m128i u_step = Set1(4 * k1), v_step = Set1(4 * k2);
        const __m128i right_delta = Set1(t.right_delta), bottom_delta = Set1(t.bottom_delta);
        const __m128i set_bits = _mm_set1_epi16(Masked ? static_cast<short>(kMaskBit) : 0);
        alignas(16) uint32_t offset[4];
        for (; count >= 4; count -= 4, out += 8) {
            // 2x and 512y of each sample, and the distance to the edge copy where it applies.
            const __m128i x2 = _mm_and_si128(_mm_srli_epi32(us, 15), Set1(0x1FE));
            const __m128i y512 = _mm_and_si128(_mm_srli_epi32(vs, 7), Set1(0x1FE00));
            const __m128i right = _mm_cmpgt_epi32(x2, Set1(2 * kFirstRightColumn - 1));
            const __m128i bottom = _mm_andnot_si128(right, _mm_cmpeq_epi32(y512, Set1(0x1FE00)));
            const __m128i delta = _mm_or_si128(_mm_and_si128(right, right_delta),
                                               _mm_and_si128(bottom, bottom_delta));
            _mm_store_si128(reinterpret_cast<__m128i*>(offset),
                            _mm_add_epi32(_mm_add_epi32(x2, y512), delta));
            const __m128i wx = WeightPairs(_mm_and_si128(_mm_srli_epi32(us, 11), Set1(31)));
            const __m128i wy = WeightPairs(_mm_and_si128(_mm_srli_epi32(vs, 11), Set1(31)));
            const uintptr_t p0 = t.base + offset[0], p1 = t.base + offset[1];
            const uintptr_t p2 = t.base + offset[2], p3 = t.base + offset[3];
            const Pairs upper =
                MultiplyPairs(RowPairs(Load8(p0), Load8(p1), Load8(p2), Load8(p3)), wx);
            const Pairs lower =
                MultiplyPairs(RowPairs(Load8(p0 + kTexturePitch), Load8(p1 + kTexturePitch),
                                       Load8(p2 + kTexturePitch), Load8(p3 + kTexturePitch)),
                              wx);
            StorePixels(out, BlendStacked(StackRows(upper, lower), wy), set_bits);
            us = _mm_add_epi32(us, u_step);
            vs = _mm_sub_epi32(vs, v_step);
        }
        u = static_cast<uint32_t>(_mm_cvtsi128_si32(us));
        v = static_cast<uint32_t>(_mm_cvtsi128_si32(vs));
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
    uint32_t u_row = steps.u0, v_row = steps.v0;
    for (int32_t r = 0; r < dst.height; ++r) {
        const int32_t left = SpanLeft(spans[r]);
        const int32_t right = SpanRight(spans[r]);
        const auto l = static_cast<uint32_t>(left);
        uint8_t* line = dst.pixels + static_cast<ptrdiff_t>(r) * dst.pitch;
        DrawSpan<Masked>(line + 2 * left, right - left, u_row + l * k1, v_row - l * k2, k1, k2,
                         texture);
        u_row += k4;
        v_row += k3;
    }
}

template void DrawRotation<false>(const Surface&, const RotationSteps&, const uint32_t*,
                                  const TextureView&);
template void DrawRotation<true>(const Surface&, const RotationSteps&, const uint32_t*,
                                 const TextureView&);

}  // namespace bitmap
