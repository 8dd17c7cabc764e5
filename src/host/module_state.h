// Module-wide objects of the module host, from load to unload.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

namespace host {

constexpr size_t kPathSize = 260;
constexpr char kSimulatorWindowClass[] = "FS98MAIN";

struct ModuleState {
    HINSTANCE instance = nullptr;
    char simulator_folder[kPathSize] = {};  // no trailing backslash; empty when unknown
    uint8_t version_accepted = 0;
    uint32_t attached = 0;
    HWND simulator_window = nullptr;
    HHOOK call_procedure_hook = nullptr;
    HHOOK get_message_hook = nullptr;
    UINT_PTR link_timer = 0;
    uint32_t own_key_client = 0;
    uint32_t simulator_gps_device = 0;
};

ModuleState& Module();

inline const char* SimulatorFolder() {
    return Module().simulator_folder;
}
inline HWND SimulatorWindow() {
    return Module().simulator_window;
}

}  // namespace host
