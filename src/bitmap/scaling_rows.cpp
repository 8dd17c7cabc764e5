// Row loops of the scaling filters: over the planned columns with SSE2 where the processor
// has it, one by one otherwise and at the edge.
#include "bitmap/scaling_rows.h"

#include "bitmap/pixels.h"
#include "bitmap/sse2_loops.h"

namespace bitmap {
namespace {

int32_t Min(int32_t a, int32_t b) {
    return a < b ? a : b;
}

uint32_t Weight(uint32_t position, uint32_t filter) {
    const uint32_t f = (position >> 5) & 31;
    return filter == 3 ? static_cast<uint32_t>(EaseTable()[f]) : f;
}

// Filter 1, one planned column at a time, as the SSE2 loop computes it four at a time.
void LinearTopRow(uint8_t* out, const uint8_t* top, const uint8_t* bottom, uint32_t wy,
                  const ColumnPlan& plan, int32_t count) {
    for (int32_t k = 0; k < count; ++k, out += 2) {
        const uint32_t o = plan.offset[k], wx = plan.weight[k] >> 16;
        const uint32_t upper = Blend(Spread(top + o), Spread(top + o + 2), wx) & kSpreadMask;
        Store16(out, Fold(Blend(upper, Spread(bottom + o), wy) & kSpreadMask));
    }
}

uint32_t ClampedSpread(const uint8_t* row, int32_t c, int32_t last) {
    return SpreadPair(Load16(row + 2 * Min(c, last)), Load16(row + 2 * Min(c + 1, last)));
}

void BlendAcross(uint32_t* out, const uint8_t* row, const ColumnPlan& plan, int32_t count) {
    for (int32_t k = 0; k < count; ++k) {
        const uint32_t o = plan.offset[k], wx = plan.weight[k] >> 16;
        out[k] = Blend(Spread(row + o), Spread(row + o + 2), wx) & kSpreadMask;
    }
}

}  // namespace

void PlanNearest(ColumnPlan& plan, int32_t first, int32_t count, uint32_t step) {
    uint32_t x = 512 + static_cast<uint32_t>(first) * step;
    for (int32_t k = 0; k < count; ++k, x += step)
        plan.offset[k] = 2 * (x >> 10);
}

void PlanFiltered(ColumnPlan& plan, int32_t first, int32_t count, uint32_t step, uint32_t filter) {
    uint32_t x = static_cast<uint32_t>(first) * step;
    for (int32_t k = 0; k < count; ++k, x += step) {
        const uint32_t w = Weight(x, filter);
        plan.offset[k] = 2 * (x >> 10);
        plan.weight[k] = (w << 16) | (32 - w);
    }
}

void NearestRow(uint8_t* out, const uint8_t* row, const ColumnPlan& plan, int32_t count) {
    int32_t k = 0;
    for (; k + 2 <= count; k += 2) {
        const uint32_t pair = Load16(row + plan.offset[k]) |
                              (static_cast<uint32_t>(Load16(row + plan.offset[k + 1])) << 16);
        std::memcpy(out + 2 * k, &pair, 4);
    }
    if (k < count)
        Store16(out + 2 * k, Load16(row + plan.offset[k]));
}

FilteredRowFn LinearTopRowFunction() {
    return Sse2Loops() ? &LinearTopRowSse2 : &LinearTopRow;
}

BlendAcrossFn BlendAcrossFunction() {
    return Sse2Loops() ? &BlendAcrossSse2 : &BlendAcross;
}

void ClampedBlendAcross(uint32_t* out, const uint8_t* row, uint32_t filter, uint32_t step,
                        int32_t first, int32_t width, int32_t source_width) {
    const int32_t last = source_width - 1;
    uint32_t x = static_cast<uint32_t>(first) * step;
    for (int32_t k = first; k < width; ++k, x += step) {
        const auto c = static_cast<int32_t>(x >> 10);
        out[k] =
            Blend(ClampedSpread(row, c, last), ClampedSpread(row, c + 1, last), Weight(x, filter)) &
            kSpreadMask;
    }
}

void BlendDown(uint8_t* out, const uint32_t* upper, const uint32_t* lower, uint32_t wy,
               int32_t count) {
    int32_t k = Sse2Loops() ? BlendDownSse2(out, upper, lower, wy, count) : 0;
    for (; k < count; ++k)
        Store16(out + 2 * k, Fold(Blend(upper[k], lower[k], wy) & kSpreadMask));
}

void ClampedLinearTopRow(uint8_t* out, const uint8_t* top, const uint8_t* bottom, uint32_t wy,
                         uint32_t step, int32_t first, int32_t width, int32_t source_width) {
    const int32_t last = source_width - 1;
    uint32_t x = static_cast<uint32_t>(first) * step;
    for (int32_t k = first; k < width; ++k, x += step) {
        const auto c = static_cast<int32_t>(x >> 10);
        const uint32_t upper =
            Blend(ClampedSpread(top, c, last), ClampedSpread(top, c + 1, last), Weight(x, 1)) &
            kSpreadMask;
        Store16(out + 2 * k, Fold(Blend(upper, ClampedSpread(bottom, c, last), wy) & kSpreadMask));
    }
}

}  // namespace bitmap
