// The per-row loops of the scaling, and the per-call plan of the destination's columns.
#pragma once
#include <cstdint>

namespace bitmap {

// Where each destination column samples its source row, worked out once per call (once per
// row for destinations wider than the plan): byte offset of the source column and, for the
// filters, the weight pair (32 - w) | (w << 16) of the horizontal blend.
constexpr int kPlanColumns = 1024;
struct ColumnPlan {
    alignas(16) uint32_t offset[kPlanColumns];
    alignas(16) uint32_t weight[kPlanColumns];
};

// Columns first .. first + count - 1 of filter 0 (positions 512 + k * step).
void PlanNearest(ColumnPlan& plan, int32_t first, int32_t count, uint32_t step);
// Columns first .. first + count - 1 of filters 1 to 3 (positions k * step).
void PlanFiltered(ColumnPlan& plan, int32_t first, int32_t count, uint32_t step, uint32_t filter);

// Filter 0: `count` planned pixels of `row`, copied unchanged.
void NearestRow(uint8_t* out, const uint8_t* row, const ColumnPlan& plan, int32_t count);

// Filter 1 over `count` planned columns (a multiple of 4) whose source columns c to c + 3 all
// lie inside the row. `top` is the sample's source row, `bottom` the one below it
// (the same row at the bottom edge), wy the row's vertical weight.
typedef void (*FilteredRowFn)(uint8_t* out, const uint8_t* top, const uint8_t* bottom, uint32_t wy,
                              const ColumnPlan& plan, int32_t count);
FilteredRowFn LinearTopRowFunction();

// Filters 2 and 3 in two passes: each source row is blended across once per call, into the
// spread form of every destination column (its horizontal blend, masked), and each
// destination row then blends two such rows down.
//
// Across: `count` planned columns (a multiple of 4) whose source columns c to c + 3 lie inside
// the row.
typedef void (*BlendAcrossFn)(uint32_t* out, const uint8_t* row, const ColumnPlan& plan,
                              int32_t count);
BlendAcrossFn BlendAcrossFunction();
// Across for columns first .. width - 1, any source column, the last column clamped.
void ClampedBlendAcross(uint32_t* out, const uint8_t* row, uint32_t filter, uint32_t step,
                        int32_t first, int32_t width, int32_t source_width);
// Down: `count` pixels from two rows blended across, by the row's vertical weight wy.
void BlendDown(uint8_t* out, const uint32_t* upper, const uint32_t* lower, uint32_t wy,
               int32_t count);

// Filter 1 for columns first .. width - 1, any source column: the reads past the last column
// take the last column.
void ClampedLinearTopRow(uint8_t* out, const uint8_t* top, const uint8_t* bottom, uint32_t wy,
                         uint32_t step, int32_t first, int32_t width, int32_t source_width);

}  // namespace bitmap
