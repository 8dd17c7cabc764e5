// The numbered queries and controls and the terrain map: what gauges ask of the simulator's
// data and internals beyond the navigation devices.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace queries {

// Queries, controls and the terrain map: slots 0, 1 and 28.
uint32_t MDN_STDCALL ServiceQuery(int32_t id, void* out);
uint32_t MDN_STDCALL ServiceControl(uint32_t id, const void* in);
uint32_t MDN_STDCALL DrawTerrainMap(const MdnSurface* destination, double* position, float range_nm,
                                    float reference_column, float reference_row,
                                    uint32_t band_mask);

}  // namespace queries
