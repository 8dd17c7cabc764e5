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

void Filtered(const Surface& src, const Surface& dst, int32_t sx, int32_t sy, uint32_t filter) {
    const auto step = static_cast<uint32_t>(sx);
    // Four at a time where source columns c to c + 3 lie inside the row.
    const int32_t inside =
        src.width < 4 ? 0 : Min(dst.width, ((src.width - 3) * 1024 - 1) / sx + 1);
    const int32_t direct = inside & ~3;
    const bool planned_once = direct <= kPlanColumns;
    auto plan_columns = [&](int32_t first, int32_t n) {
        PlanFiltered(plan, first, n, step, filter);
    };
    if (planned_once)
        plan_columns(0, direct);
    const FilteredRowFn row_fn = FilteredRowFunction(filter);
    const int32_t* ease = EaseTable();
    for (int32_t j = 0; j < dst.height; ++j) {
        const int32_t y = j * sy;
        const int32_t r = y >> 10;
        const uint8_t* top = Row(src, r);
        const uint8_t* bottom = Row(src, Min(r + 1, src.height - 1));
        const uint32_t fy = static_cast<uint32_t>(y >> 5) & 31;
        const uint32_t wy = filter == 3 ? static_cast<uint32_t>(ease[fy]) : fy;
        uint8_t* out = Row(dst, j);
        ForPlannedColumns(direct, planned_once, plan_columns, [&](int32_t first, int32_t n) {
            row_fn(out + 2 * first, top, bottom, wy, plan, n);
        });
        ClampedFilteredRow(out, top, bottom, wy, filter, step, direct, dst.width, src.width);
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
    } else {
        Filtered(src, dst, sx, sy, filter);
    }
}

void MDN_STDCALL CopyBitmap(const MdnSurface* source, const MdnSurface* destination) {
    StretchBitmap(source, destination, MDN_FILTER_LINEAR_TOP);
}

}  // namespace bitmap
