// ---- the processor's features (the bitmap loops) --------------------------------------------
#pragma once
#include "platform/win_types.h"

namespace fake {

// What IsProcessorFeaturePresent answers for `feature`. A fresh machine has SSE2
// (PF_XMMI64_INSTRUCTIONS_AVAILABLE) and nothing else; Reset() returns to that.
void SetProcessorFeature(DWORD feature, bool present);

}  // namespace fake
