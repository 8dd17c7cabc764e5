// The module's place in the simulator's window: message hooks, menus, links.
#pragma once
#include <cstdint>

#include "platform/win_types.h"

namespace host {

// Installed on the simulator's main thread at attach.
LRESULT CALLBACK CallWindowProcedureHook(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK GetMessageHook(int code, WPARAM wParam, LPARAM lParam);

// The window "FS98MAIN" of this process, or null: another program's window of that class is
// not the simulator the module runs in.
HWND FindSimulatorWindow();
// The "M&DN" top-level menu, once per menu bar (on WM_NCPAINT).
void BuildTopMenu();
// The "Navigation Device" submenu (on WM_INITMENU).
void BuildNavDeviceMenu();
// A WM_COMMAND identifier from the simulator's menus.
void OnMenuCommand(uint16_t id);
// Opens an address in the user's browser; reports nothing.
void OpenLink(const char* address);

}  // namespace host
