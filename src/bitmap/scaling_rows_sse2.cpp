// The filtered scaling's row loop with SSE2: four planned columns at a time.
#include "bitmap/blend_sse2.h"
#include "bitmap/sse2_loops.h"

namespace bitmap {
namespace {

template <int Filter>
void FilteredRow(uint8_t* out, const uint8_t* top, const uint8_t* bottom, uint32_t wy,
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
        Pairs lower;
        if constexpr (Filter == 1) {
            // The lower row's spread form unblended: its pixel's outer fields, its
            // neighbour's middle field; weighted by 32 so that StackRows' >> 5 keeps it.
            lower = Pairs{_mm_slli_epi32(lower_row.l, 5), _mm_slli_epi32(lower_row.h, 5)};
        } else {
            lower = MultiplyPairs(lower_row, wx);
        }
        StorePixels(out, BlendStacked(StackRows(upper, lower), wys), none);
    }
}

}  // namespace

FilteredRowFn Sse2FilteredRow(uint32_t filter) {
    switch (filter) {
        case 1:
            return &FilteredRow<1>;
        case 2:
            return &FilteredRow<2>;
        default:
            return &FilteredRow<3>;
    }
}

}  // namespace bitmap
