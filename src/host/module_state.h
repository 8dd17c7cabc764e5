// Module-wide objects of the module host, from load to unload. The values the subsystems
// read as well (simulator folder and window) are runtime::Values().
#pragma once
#include <cstdint>

#include "platform/win_types.h"
#include "runtime/module_values.h"
#include "runtime/owners.h"

namespace host {

using runtime::kPathSize;
using runtime::kSimulatorWindowClass;
using runtime::SimulatorFolder;
using runtime::SimulatorWindow;

struct ModuleState {
    HINSTANCE instance = nullptr;
    uint8_t version_accepted = 0;
    uint32_t attached = 0;
    runtime::UniqueHook call_procedure_hook;
    runtime::UniqueHook get_message_hook;
    UINT_PTR link_timer = 0;
    uint32_t own_key_client = 0;
    uint32_t simulator_gps_device = 0;
    // No folder in the registry: the user is asked on the first link-timer tick, and the own
    // commands are bound from the settings file only then.
    bool folder_pending = false;
    bool asking_for_folder = false;
};

ModuleState& Module();

}  // namespace host
