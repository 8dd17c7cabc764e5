// The GPS information manager's pass, for its worker, the registry and their tests.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace navigation {

// One refresh of the GPS information record from the simulator's "FS2002 GPS DATA" block.
void GpsInfoPass();
// The active device went away: distance, active identifier, inactive flag, remaining route
// distance and waypoint count return to "no route".
void ResetGpsRoute();
void LoadGpsInfo();

}  // namespace navigation
