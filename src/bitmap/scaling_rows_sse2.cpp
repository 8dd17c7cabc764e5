// The filtered scaling's row loops with SSE2: four planned columns at a time.
#include "bitmap/blend_sse2.h"
#include "bitmap/sse2_loops.h"

namespace bitmap {

void LinearTopRowSse2(uint8_t* out, const uint8_t* top, const uint8_t* bottom, uint32_t wy,
                      const ColumnPlan& plan, int32_t count) {
    using namespace sse2;
    const __m128i wys = WeightPairs(Set1(wy));
    const auto t = reinterpret_cast<uintptr_t>(top), b = reinterpret_cast<uintptr_t>(bottom);
    const __m128i none = _mm_setzero_si128();
    for (int32_t k = 0; k < count; k += 4, out += 8) {
        const uint32_t* o = plan.offset + k;
        const __m128i wx = _mm_load_si128(reinterpret_cast<const __m128i*>(plan.weight + k));
        const Pairs upper = MultiplyPairs(
            RowPairs(Load8(t + o[0]), Load8(t + o[1]), Load8(t + o[2]), Load8(t + o[3])), wx);
        const Pairs lower_row =
            RowPairs(Load8(b + o[0]), Load8(b + o[1]), Load8(b + o[2]), Load8(b + o[3]));
        // The lower row's spread form unblended: its pixel's outer fields, its neighbour's
        // middle field; weighted by 32 so that StackRows' >> 5 keeps it.
        const Pairs lower{_mm_slli_epi32(lower_row.l, 5), _mm_slli_epi32(lower_row.h, 5)};
        StorePixels(out, BlendStacked(StackRows(upper, lower), wys), none);
    }
}

void BlendAcrossSse2(uint32_t* out, const uint8_t* row, const ColumnPlan& plan, int32_t count) {
    using namespace sse2;
    const auto t = reinterpret_cast<uintptr_t>(row);
    for (int32_t k = 0; k < count; k += 4) {
        const uint32_t* o = plan.offset + k;
        const __m128i wx = _mm_load_si128(reinterpret_cast<const __m128i*>(plan.weight + k));
        const Pairs across = MultiplyPairs(
            RowPairs(Load8(t + o[0]), Load8(t + o[1]), Load8(t + o[2]), Load8(t + o[3])), wx);
        // Back to the spread form: outer fields in place, the middle one at bits 21 to 25.
        const __m128i l = _mm_and_si128(_mm_srli_epi32(across.l, 5), Set1(0x7C1Fu));
        const __m128i h = _mm_and_si128(_mm_slli_epi32(across.h, 11), Set1(0x03E00000u));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + k), _mm_or_si128(l, h));
    }
}

int32_t BlendDownSse2(uint8_t* out, const uint32_t* upper, const uint32_t* lower, uint32_t wy,
                      int32_t count) {
    using namespace sse2;
    const int32_t drawn = count & ~3;
    const __m128i wys = WeightPairs(Set1(wy));
    // Each spread form's low half holds the outer fields, its high half the middle one at bits
    // 5 to 9: interleaved with the lower row's halves they are the pairs of the vertical blend.
    const __m128i fields = _mm_setr_epi32(0x7C1F, 0x03E0, 0x7C1F, 0x03E0);
    const __m128i ones = _mm_set1_epi16(1);
    for (int32_t k = 0; k < drawn; k += 4, out += 8) {
        const __m128i up = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + k));
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + k));
        const __m128i a = _mm_and_si128(
            _mm_srli_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(up, low), wys), 5), fields);
        const __m128i b = _mm_and_si128(
            _mm_srli_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(up, low), wys), 5), fields);
        // Outer and middle fields of each pixel side by side: their sum is the fold.
        const __m128i pixels = _mm_madd_epi16(_mm_packs_epi32(a, b), ones);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packs_epi32(pixels, pixels));
    }
    return drawn;
}

}  // namespace bitmap
