// Scaling of one bitmap into another with four filters (slots 27 and 29), in 22.10 steps.
//
// Samples that would fall past the source's last column or row take that column or row:
// the filtered samples read up to two columns to the right and one row below, the nearest
// one column and row past the end when magnifying. Rows are clamped once per row; columns
// only in the few samples at the right-hand end of each row, so the rest read in place.
#include "bitmap/bitmap.h"
#include "bitmap/pixels.h"
#include "bitmap/scaling_rows.h"
#include "runtime/diag_log.h"

namespace bitmap {
namespace {

ColumnPlan plan;

int32_t Min(int32_t a, int32_t b) {
    return a < b ? a : b;
}

uint8_t* Row(const Surface& s, int32_t r) {
    return s.pixels + static_cast<ptrdiff_t>(r) * s.pitch;
}

// Runs row_fn(out, plan, count) over the planned columns of one destination row, planning
// them again per row only when they do not fit the plan at once.
template <class Plan, class RowFn>
void ForPlannedColumns(int32_t count, bool planned_once, Plan plan_columns, RowFn row_fn) {
    for (int32_t first = 0; first < count; first += kPlanColumns) {
        const int32_t n = Min(kPlanColumns, count - first);
        if (!planned_once)
            plan_columns(first, n);
        row_fn(first, n);
    }
}

void Nearest(const Surface& src, const Surface& dst, int32_t sx, int32_t sy) {
    const auto step = static_cast<uint32_t>(sx);
    // Columns (512 + k * sx) >> 10 <= width - 1 are read in place, the rest take the last.
    const int32_t direct = Min(dst.width, (src.width * 1024 - 513) / sx + 1);
    const bool planned_once = direct <= kPlanColumns;
    auto plan_columns = [&](int32_t first, int32_t n) { PlanNearest(plan, first, n, step); };
    if (planned_once)
        plan_columns(0, direct);
    for (int32_t j = 0; j < dst.height; ++j) {
        const uint8_t* row = Row(src, Min((512 + j * sy) >> 10, src.height - 1));
        uint8_t* out = Row(dst, j);
        ForPlannedColumns(direct, planned_once, plan_columns, [&](int32_t first, int32_t n) {
            NearestRow(out + 2 * first, row, plan, n);
        });
        const uint16_t last = Load16(row + 2 * (src.width - 1));
        for (int32_t k = direct; k < dst.width; ++k)
            Store16(out + 2 * k, last);
    }
}

// Two source rows blended across (filters 2 and 3), with the rows they hold.
constexpr int32_t kMaxWidth = 32767;
uint32_t across[2][kMaxWidth];

// Filters 2 and 3: a destination row blends two source rows down, each blended across once
// however many destination rows use it. A row whose vertical weight is 0 is its upper row
// alone (the blend then leaves it unchanged), so the lower one is not even read.
void TwoPass(const Surface& src, const Surface& dst, int32_t sx, int32_t sy, uint32_t filter) {
    const auto step = static_cast<uint32_t>(sx);
    const int32_t inside =
        src.width < 4 ? 0 : Min(dst.width, ((src.width - 3) * 1024 - 1) / sx + 1);
    const int32_t direct = inside & ~3;
    const bool planned_once = direct <= kPlanColumns;
    auto plan_columns = [&](int32_t first, int32_t n) {
        PlanFiltered(plan, first, n, step, filter);
    };
    if (planned_once)
        plan_columns(0, direct);
    const BlendAcrossFn blend_across = BlendAcrossFunction();
    int32_t held[2] = {-1, -1};
    // The row `r` blended across, in a slot other than the one holding `keep`.
    auto row_across = [&](int32_t r, int32_t keep) -> const uint32_t* {
        for (int i = 0; i < 2; ++i) {
            if (held[i] == r)
                return across[i];
        }
        const int i = held[0] == keep ? 1 : held[1] == keep ? 0 : (held[0] < held[1] ? 0 : 1);
        const uint8_t* row = Row(src, r);
        uint32_t* out = across[i];
        ForPlannedColumns(direct, planned_once, plan_columns, [&](int32_t first, int32_t n) {
            blend_across(out + first, row, plan, n);
        });
        ClampedBlendAcross(out, row, filter, step, direct, dst.width, src.width);
        held[i] = r;
        return out;
    };
    const int32_t* ease = EaseTable();
    for (int32_t j = 0; j < dst.height; ++j) {
        const int32_t y = j * sy;
        const int32_t r = y >> 10;
        const uint32_t fy = static_cast<uint32_t>(y >> 5) & 31;
        const uint32_t wy = filter == 3 ? static_cast<uint32_t>(ease[fy]) : fy;
        // Rows only grow: the upper row takes the place of the older one held.
        const uint32_t* upper = row_across(r, -2);
        const uint32_t* lower = wy == 0 ? upper : row_across(Min(r + 1, src.height - 1), r);
        BlendDown(Row(dst, j), upper, lower, wy, dst.width);
    }
}

// Filter 1: the lower row's pixel is taken unblended, so each row is sampled directly.
void LinearTop(const Surface& src, const Surface& dst, int32_t sx, int32_t sy) {
    const auto step = static_cast<uint32_t>(sx);
    // Four at a time where source columns c to c + 3 lie inside the row.
    const int32_t inside =
        src.width < 4 ? 0 : Min(dst.width, ((src.width - 3) * 1024 - 1) / sx + 1);
    const int32_t direct = inside & ~3;
    const bool planned_once = direct <= kPlanColumns;
    auto plan_columns = [&](int32_t first, int32_t n) { PlanFiltered(plan, first, n, step, 1); };
    if (planned_once)
        plan_columns(0, direct);
    const FilteredRowFn row_fn = LinearTopRowFunction();
    for (int32_t j = 0; j < dst.height; ++j) {
        const int32_t y = j * sy;
        const int32_t r = y >> 10;
        const uint8_t* top = Row(src, r);
        const uint8_t* bottom = Row(src, Min(r + 1, src.height - 1));
        const uint32_t wy = static_cast<uint32_t>(y >> 5) & 31;
        uint8_t* out = Row(dst, j);
        ForPlannedColumns(direct, planned_once, plan_columns, [&](int32_t first, int32_t n) {
            row_fn(out + 2 * first, top, bottom, wy, plan, n);
        });
        ClampedLinearTopRow(out, top, bottom, wy, step, direct, dst.width, src.width);
    }
}

}  // namespace

void MDN_STDCALL StretchBitmap(const MdnSurface* source, const MdnSurface* destination,
                               uint32_t filter) {
    if (filter > MDN_FILTER_EASED)
        return MDN_WHY("did nothing: unknown filter %u", filter);
    Surface src, dst;
    if (!ReadSurface(source, &src) || src.pixels == nullptr)
        return MDN_WHY("did nothing: no source surface or no source pixels");
    if (!ReadSurface(destination, &dst))
        return MDN_WHY("did nothing: no destination surface");
    if (!HasPixels(src) || !HasPixels(dst))
        return MDN_WHY("did nothing: a surface without pixels or of size 0");
    // Sizes below 2^15 keep every 22.10 product (size * step <= source size * 1024) in range.
    const int32_t sx = src.width * 1024 / dst.width;
    const int32_t sy = src.height * 1024 / dst.height;
    // A source more than 1024 times smaller gives a step of 0: no sample, nothing written.
    if (sx == 0 || sy == 0)
        return MDN_WHY("did nothing: the source is over 1024 times smaller than the destination");
    if (filter == MDN_FILTER_NEAREST) {
        Nearest(src, dst, sx, sy);
    } else if (filter == MDN_FILTER_LINEAR_TOP) {
        LinearTop(src, dst, sx, sy);
    } else {
        TwoPass(src, dst, sx, sy, filter);
    }
}

void MDN_STDCALL CopyBitmap(const MdnSurface* source, const MdnSurface* destination) {
    StretchBitmap(source, destination, MDN_FILTER_LINEAR_TOP);
}

}  // namespace bitmap
