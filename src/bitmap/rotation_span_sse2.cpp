// The rotation's pixel loop with SSE2, four pixels at a time: the walk's two additions, the
// four 32-bit spread forms of each sample (read as two 8-byte rows) and three blends.
#include "bitmap/blend_sse2.h"
#include "bitmap/sse2_loops.h"

namespace bitmap {

template <bool Masked>
int32_t DrawSpanSse2(uint8_t* out, int32_t count, uint32_t u, uint32_t v, uint32_t k1, uint32_t k2,
                     const TextureView& t) {
    using namespace sse2;
    const int32_t drawn = count < 4 ? 0 : count & ~3;
    if (drawn == 0)
        return 0;
    __m128i us = _mm_setr_epi32(static_cast<int>(u), static_cast<int>(u + k1),
                                static_cast<int>(u + 2 * k1), static_cast<int>(u + 3 * k1));
    __m128i vs = _mm_setr_epi32(static_cast<int>(v), static_cast<int>(v - k2),
                                static_cast<int>(v - 2 * k2), static_cast<int>(v - 3 * k2));
    const __m128i u_step = Set1(4 * k1), v_step = Set1(4 * k2);
    const __m128i right_delta = Set1(t.right_delta), bottom_delta = Set1(t.bottom_delta);
    const __m128i set_bits = _mm_set1_epi16(Masked ? static_cast<short>(0x8000) : short{0});
    alignas(16) uint32_t offset[4];
    for (int32_t left = drawn; left > 0; left -= 4, out += 8) {
        // 2x and 512y of each sample, and the distance to the edge copy where it applies.
        const __m128i x2 = _mm_and_si128(_mm_srli_epi32(us, 15), Set1(0x1FE));
        const __m128i y512 = _mm_and_si128(_mm_srli_epi32(vs, 7), Set1(0x1FE00));
        const __m128i right = _mm_cmpgt_epi32(x2, Set1(2 * kFirstRightColumn - 1));
        const __m128i bottom = _mm_andnot_si128(right, _mm_cmpeq_epi32(y512, Set1(0x1FE00)));
        const __m128i delta =
            _mm_or_si128(_mm_and_si128(right, right_delta), _mm_and_si128(bottom, bottom_delta));
        _mm_store_si128(reinterpret_cast<__m128i*>(offset),
                        _mm_add_epi32(_mm_add_epi32(x2, y512), delta));
        const __m128i wx = WeightPairs(_mm_and_si128(_mm_srli_epi32(us, 11), Set1(31)));
        const __m128i wy = WeightPairs(_mm_and_si128(_mm_srli_epi32(vs, 11), Set1(31)));
        const uintptr_t p0 = t.base + offset[0], p1 = t.base + offset[1];
        const uintptr_t p2 = t.base + offset[2], p3 = t.base + offset[3];
        const Pairs upper = MultiplyPairs(RowPairs(Load8(p0), Load8(p1), Load8(p2), Load8(p3)), wx);
        const Pairs lower =
            MultiplyPairs(RowPairs(Load8(p0 + kTexturePitch), Load8(p1 + kTexturePitch),
                                   Load8(p2 + kTexturePitch), Load8(p3 + kTexturePitch)),
                          wx);
        StorePixels(out, BlendStacked(StackRows(upper, lower), wy), set_bits);
        us = _mm_add_epi32(us, u_step);
        vs = _mm_sub_epi32(vs, v_step);
    }
    return drawn;
}

template int32_t DrawSpanSse2<false>(uint8_t*, int32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                     const TextureView&);
template int32_t DrawSpanSse2<true>(uint8_t*, int32_t, uint32_t, uint32_t, uint32_t, uint32_t,
                                    const TextureView&);

}  // namespace bitmap
