// The bitmap's load step. It runs at attach, on any processor, so it and everything it calls
// is plain x87 and integer code: only the *_sse2.cpp files are built with SSE2.
#include "bitmap/bitmap.h"
#include "bitmap/ieee_doubles.h"
#include "bitmap/pixels.h"
#include "bitmap/sse2_loops.h"
#include "platform/kernel.h"

namespace bitmap {
namespace {

bool sse2 = false;

}  // namespace

void Load() {
    {
        IeeeDoubles doubles;
        ComputeEaseTable();
    }
    sse2 = platform::IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != FALSE;
}

bool Sse2Loops() {
    return sse2;
}

}  // namespace bitmap
