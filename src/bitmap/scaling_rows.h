// The per-row loops of the scaling.
#pragma once
#include <cstdint>

namespace bitmap {

// The columns of one destination row: sample k sits at k * step (22.10); samples below
// `direct` read their columns in place, the rest clamp them to the source's last column.
struct FilteredColumns {
    int32_t step;
    int32_t direct;
    int32_t width;
    int32_t source_width;
};

// Filter 0: source pixels (512 + k * step) >> 10 of `row`, copied unchanged.
void NearestRow(uint8_t* out, const uint8_t* row, int32_t source_width, int32_t step,
                int32_t direct, int32_t width);

// Filters 1 to 3: `top` is the sample's source row, `bottom` the one below it (the same row
// at the bottom edge), fy the row's 5-bit weight.
typedef void (*FilteredRowFn)(uint8_t* out, const uint8_t* top, const uint8_t* bottom, uint32_t fy,
                              FilteredColumns columns);
FilteredRowFn FilteredRowFunction(uint32_t filter);

}  // namespace bitmap
