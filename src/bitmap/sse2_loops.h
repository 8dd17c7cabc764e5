// The loops compiled with SSE2. Only these files are, and they run only once the processor
// reported SSE2 at load (Sse2Loops()). They share no inline function with the plain files:
// the linker keeps one copy of each, which could be the one with SSE2 instructions.
#pragma once
#include <cstdint>

#include "bitmap/scaling_rows.h"
#include "bitmap/texture.h"

namespace bitmap {

// Whether the processor has SSE2; chosen at load, false until then.
bool Sse2Loops();

// The first `count` rounded down to a multiple of 4 pixels of a rotation span, from walk
// position (u, v), stepping by k1 and -k2; returns the pixels drawn.
template <bool Masked>
int32_t DrawSpanSse2(uint8_t* out, int32_t count, uint32_t u, uint32_t v, uint32_t k1, uint32_t k2,
                     const TextureView& t);

// Filter 1 over planned columns, four at a time (see FilteredRowFn).
void LinearTopRowSse2(uint8_t* out, const uint8_t* top, const uint8_t* bottom, uint32_t wy,
                      const ColumnPlan& plan, int32_t count);

// Filters 2 and 3, four columns at a time (see BlendAcrossFn).
void BlendAcrossSse2(uint32_t* out, const uint8_t* row, const ColumnPlan& plan, int32_t count);
// The first `count` rounded down to a multiple of 4 pixels of BlendDown; returns them.
int32_t BlendDownSse2(uint8_t* out, const uint32_t* upper, const uint32_t* lower, uint32_t wy,
                      int32_t count);

}  // namespace bitmap
