// The autopilot-source manager's pass and the feed it copies, for its worker and its tests.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace navigation {

// One pass of the autopilot-source manager: copies a fresh feed into the flight-model object.
void AutopilotSourcePass();
// The simulator's flight-model object once found, else 0.
uintptr_t FlightModelObject();
// The posted value and its time stamp (0: no feed).
double AutopilotData();
uint32_t AutopilotDataTime();
// Start-up: no feed and no flight-model object.
void ResetAutopilotSource();
void LoadAutopilotSource();

}  // namespace navigation
