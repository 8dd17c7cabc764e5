// Row loops of the scaling filters.
#include "bitmap/scaling_rows.h"

#include "bitmap/pixels.h"

namespace bitmap {
namespace {

int32_t Min(int32_t a, int32_t b) {
    return a < b ? a : b;
}

// The spread form at column c with both pixels clamped to the last column.
uint32_t ClampedSpread(const uint8_t* row, int32_t c, int32_t last) {
    return SpreadPair(Load16(row + 2 * Min(c, last)), Load16(row + 2 * Min(c + 1, last)));
}

template <int Filter>
uint32_t Sample(uint32_t t0, uint32_t t1, uint32_t b0, uint32_t b1, uint32_t wx, uint32_t wy) {
    const uint32_t top = Blend(t0, t1, wx) & kSpreadMask;
    const uint32_t bottom = Filter == 1 ? b0 : Blend(b0, b1, wx) & kSpreadMask;
    return Blend(top, bottom, wy) & kSpreadMask;
}

template <int Filter>
void FilteredRow(uint8_t* out, const uint8_t* top, const uint8_t* bottom, uint32_t fy,
                 FilteredColumns columns) {
    const int32_t* ease = EaseTable();
    const uint32_t wy = Filter == 3 ? static_cast<uint32_t>(ease[fy]) : fy;
    const auto step = static_cast<uint32_t>(columns.step);
    uint32_t x = 0;
    int32_t k = 0;
    for (; k < columns.direct; ++k, x += step) {
        const uint32_t c2 = (x >> 10) * 2;
        const uint32_t fx = (x >> 5) & 31;
        const uint32_t wx = Filter == 3 ? static_cast<uint32_t>(ease[fx]) : fx;
        const uint8_t* p = top + c2;
        const uint8_t* q = bottom + c2;
        const uint32_t b1 = Filter == 1 ? 0 : Spread(q + 2);
        Store16(out + 2 * k, Fold(Sample<Filter>(Spread(p), Spread(p + 2), Spread(q), b1, wx, wy)));
    }
    const int32_t last = columns.source_width - 1;
    for (; k < columns.width; ++k, x += step) {
        const auto c = static_cast<int32_t>(x >> 10);
        const uint32_t fx = (x >> 5) & 31;
        const uint32_t wx = Filter == 3 ? static_cast<uint32_t>(ease[fx]) : fx;
        const uint32_t pixel = Sample<Filter>(
            ClampedSpread(top, c, last), ClampedSpread(top, c + 1, last),
            ClampedSpread(bottom, c, last), ClampedSpread(bottom, c + 1, last), wx, wy);
        Store16(out + 2 * k, Fold(pixel));
    }
}

}  // namespace

void NearestRow(uint8_t* out, const uint8_t* row, int32_t source_width, int32_t step,
                int32_t direct, int32_t width) {
    uint32_t x = 512;
    int32_t k = 0;
    for (; k < direct; ++k, x += static_cast<uint32_t>(step)) {
        Store16(out + 2 * k, Load16(row + 2 * (x >> 10)));
    }
    const uint16_t last = Load16(row + 2 * (source_width - 1));
    for (; k < width; ++k)
        Store16(out + 2 * k, last);
}

FilteredRowFn FilteredRowFunction(uint32_t filter) {
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
