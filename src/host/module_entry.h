// Load, entry point, start-up, link timer and shut-down of the module.
#pragma once
#include "platform/win_types.h"

namespace host {

// Objects that exist from load to unload, created in this order and destroyed in reverse:
// the air-data block, the simulator folder, the three thread objects, the registries, the
// traffic state and the ease table. The DLL runs these around its entry point.
void OnLoad();
void OnUnload();

// The entry point's work: process attach (1) and detach (0); TRUE for every reason. `reserved`
// is the entry point's third argument: not null at a detach means the process is ending, and
// then nothing is done at all (the DLL's entry point skips the load-time objects' destruction
// as well, see dll_main.cpp).
BOOL ModuleEntry(HINSTANCE instance, DWORD reason, LPVOID reserved = nullptr);

// The link timer procedure (every 2000 ms until the panels hook and GLOBAL.DLL are linked).
void CALLBACK LinkTimerProcedure(HWND window, UINT message, UINT_PTR id, DWORD time);

}  // namespace host
