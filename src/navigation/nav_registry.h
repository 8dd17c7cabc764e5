// The navigation device registry as the workers and the panels hook see it.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace navigation {

// True while the first registered device (the simulator's own GPS) is the active one; false
// while the registry is empty. Read by the workers and the hook without a lock.
bool SimulatorGpsActive();
void LoadNavRegistry();
void UnloadNavRegistry();

}  // namespace navigation
