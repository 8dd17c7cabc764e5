// Queries, controls and the terrain map not yet built: each gives its failure result.
#include "navigation/navigation.h"

namespace navigation {

uint32_t MDN_STDCALL ServiceQuery(int32_t, void*) { return 0; }
uint32_t MDN_STDCALL ServiceControl(uint32_t, const void*) { return 0; }
uint32_t MDN_STDCALL DrawTerrainMap(const MdnSurface*, double*, float, float, float, uint32_t) {
    return 0;
}

}  // namespace navigation
