// The panels hook and the range handlers behind it: the hooked lookup itself and the hook's
// state, for the module and its tests, benchmarks and fuzz targets.
#pragma once
#include <cstdint>

#include "mdnsrv.h"

namespace navigation {

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

}  // namespace navigation
