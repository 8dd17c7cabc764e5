// Module-wide values that the subsystems read: where the simulator is installed and its main
// window. The module host sets them at attach; they live from load to unload.
#pragma once
#include <cstddef>

#include "platform/win_types.h"

namespace runtime {

constexpr size_t kPathSize = 260;
constexpr char kSimulatorWindowClass[] = "FS98MAIN";

struct ModuleValues {
    char simulator_folder[kPathSize] = {};  // no trailing backslash; empty when unknown
    HWND simulator_window = nullptr;
};

ModuleValues& Values();

inline const char* SimulatorFolder() {
    return Values().simulator_folder;
}
inline HWND SimulatorWindow() {
    return Values().simulator_window;
}

}  // namespace runtime
