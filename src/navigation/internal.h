// What the navigation files share among themselves and with their tests, benchmarks and fuzz
// targets: one pass of each worker loop, the hooked lookup itself and the hook's state.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace navigation {

// ---- device registry ----------------------------------------------------------------------

// True while the first registered device (the simulator's own GPS) is the active one; false
// while the registry is empty. Read by the workers and the hook without a lock.
bool SimulatorGpsActive();
void LoadNavRegistry();
void UnloadNavRegistry();

// ---- GPS information ----------------------------------------------------------------------

// One refresh of the GPS information record from the simulator's "FS2002 GPS DATA" block.
void GpsInfoPass();
// The active device went away: distance, active identifier, inactive flag, remaining route
// distance and waypoint count return to "no route".
void ResetGpsRoute();
void LoadGpsInfo();

// ---- panels hook --------------------------------------------------------------------------

// The function placed in the panel system's Linkage word 40.
uint32_t MDN_STDCALL HookedVariableLookup(MdnVariableQuery* query);
// Writes the panels patch table into the panel system's code; true.
bool PatchPanels();
bool PanelsHookInstalled();
// The patched Linkage entry (0 when none) and the lookup it held before installation.
uintptr_t PatchedEntry();
uintptr_t SavedVariableLookup();
void LoadPanelsHook();
void UnloadPanelsHook();

// Custom tokens: true when a range handler reported the query handled.
bool OfferToRangeHandlers(MdnVariableQuery* query);
void LoadRangeHandlers();
void UnloadRangeHandlers();

// ---- autopilot source ---------------------------------------------------------------------

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
