// Four pixels at a time with SSE2, bit for bit the same as the spread-form arithmetic.
//
// The blend p + ((q - p) * f >> 5) of two spread forms never carries between fields: each
// field comes out as floor((p_i * (32 - f) + q_i * f) / 32), the products fitting 10 bits
// below the next field. So the loops work on the pixels' own halves instead: the outer
// fields (mask 0x7C1F, "L") and the middle field (mask 0x03E0, "H") of a pixel pair, one
// pmaddwd with the weight pair (32 - f, f) per pair, then >> 5 and the mask. The middle field
// of a spread form is its right-hand neighbour's, so L pairs are pixels (c, c + 1) and H
// pairs (c + 1, c + 2). An H result already sits where the fold puts it: a result pixel is
// L | H.
#pragma once
#include <emmintrin.h>

#include <cstdint>

namespace bitmap::sse2 {

inline __m128i Set1(uint32_t v) {
    return _mm_set1_epi32(static_cast<int>(v));
}

// (f << 16) | (32 - f) for 5-bit f in each lane.
inline __m128i WeightPairs(__m128i f) {
    return _mm_add_epi32(_mm_sub_epi32(_mm_slli_epi32(f, 16), f), Set1(32));
}

// The L and H pairs of four samples, from each sample's row of pixels c .. c + 3 (the low
// eight bytes of r0 .. r3).
struct Pairs {
    __m128i l, h;
};
inline Pairs RowPairs(__m128i r0, __m128i r1, __m128i r2, __m128i r3) {
    const __m128i x01 = _mm_unpacklo_epi64(r0, r1);
    const __m128i x23 = _mm_unpacklo_epi64(r2, r3);
    // (c, c + 1) from the first four bytes of each, (c + 1, c + 2) from two bytes further.
    const __m128i l = _mm_castps_si128(
        _mm_shuffle_ps(_mm_castsi128_ps(x01), _mm_castsi128_ps(x23), _MM_SHUFFLE(2, 0, 2, 0)));
    const __m128i h = _mm_castps_si128(_mm_shuffle_ps(_mm_castsi128_ps(_mm_srli_epi64(x01, 16)),
                                                      _mm_castsi128_ps(_mm_srli_epi64(x23, 16)),
                                                      _MM_SHUFFLE(2, 0, 2, 0)));
    return Pairs{_mm_and_si128(l, Set1(0x7C1F7C1Fu)), _mm_and_si128(h, Set1(0x03E003E0u))};
}

// The products of one horizontal blend: L and H sums of each sample, not yet shifted.
inline Pairs MultiplyPairs(const Pairs& p, __m128i weights) {
    return Pairs{_mm_madd_epi16(p.l, weights), _mm_madd_epi16(p.h, weights)};
}

// Blended upper and lower rows side by side: upper results in the low half of each lane,
// lower results in the high half, ready for the vertical blend.
inline Pairs StackRows(const Pairs& upper, const Pairs& lower) {
    return Pairs{_mm_or_si128(_mm_and_si128(_mm_srli_epi32(upper.l, 5), Set1(0x7C1Fu)),
                              _mm_and_si128(_mm_slli_epi32(lower.l, 11), Set1(0x7C1F0000u))),
                 _mm_or_si128(_mm_and_si128(_mm_srli_epi32(upper.h, 5), Set1(0x03E0u)),
                              _mm_and_si128(_mm_slli_epi32(lower.h, 11), Set1(0x03E00000u)))};
}

// The vertical blend of stacked rows: four pixels.
inline __m128i BlendStacked(const Pairs& rows, __m128i weights) {
    const __m128i l =
        _mm_and_si128(_mm_srli_epi32(_mm_madd_epi16(rows.l, weights), 5), Set1(0x7C1Fu));
    const __m128i h =
        _mm_and_si128(_mm_srli_epi32(_mm_madd_epi16(rows.h, weights), 5), Set1(0x03E0u));
    return _mm_or_si128(l, h);
}

// Four pixels (below 0x8000) to 16 bits, stored at `out`.
inline void StorePixels(uint8_t* out, __m128i pixels, __m128i set_bits) {
    const __m128i packed = _mm_or_si128(_mm_packs_epi32(pixels, pixels), set_bits);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), packed);
}

inline __m128i Load8(uintptr_t address) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(address));
}

}  // namespace bitmap::sse2
